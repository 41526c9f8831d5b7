#include "setup/TavrelTodayPlugin.h"

#include "setup/TavrelInstallFolder.h"
#include "setup/TavrelPlatform.h"

#include "common/QoRegistry.h"
#include "platform/device/FileSystem.h"

void CTavrelTodayPlugin::MoveAside()
{
    device::FileSystem::removeFile(AsidePath);
    device::FileSystem::move(ActivePath, AsidePath);
    // Succeeds only when the move failed and nothing holds the file.
    device::FileSystem::removeFile(ActivePath);
}

const char16_t* CTavrelTodayPlugin::VariantFor(bool pocketPC) { return pocketPC ? PocketPCVariant : OtherVariant; }

void CTavrelTodayPlugin::Place(const CTavrelInstallFolder& folder)
{
    const CQoString variant = folder.PathOf(VariantFor(CTavrelPlatform::IsPocketPC()));
    device::FileSystem::copy(variant.View(), ActivePath, false);
    Register();
    DeleteItem(OldItemName);
}

void CTavrelTodayPlugin::Register()
{
    CQoRegistry item(HKEY_LOCAL_MACHINE, ItemKeyPath, true);
    item.SetString(u"DLL", ActivePath);
    item.SetDWORD(u"Type", ItemType);
    item.SetDWORD(u"Options", ItemOptions);
    item.SetDWORD(u"Enabled", ItemEnabled);
}

void CTavrelTodayPlugin::DeleteItem(const char16_t* name)
{
    CQoRegistry items(HKEY_LOCAL_MACHINE, ItemsKeyPath, true);
    items.DeleteSubKey(name);
}

void CTavrelTodayPlugin::Remove()
{
    device::FileSystem::removeFile(ActivePath);
    device::FileSystem::removeFile(AsidePath);
    // A plug-in the Today screen still holds cannot be deleted, but it can leave the name.
    device::FileSystem::move(ActivePath, AsidePath);
    DeleteItem(OldItemName);
    // The item would point the Today screen at a plug-in that is gone.
    DeleteItem(ItemName);
}
