#include "setup/TavrelSettingsRemoval.h"

#include "platform/device/FileSystem.h"

void CTavrelSettingsRemoval::Run()
{
    bool machineKeysLeft = false;
    bool userKeysLeft = false;
    {
        // Opened only: a hive without the maker's key has nothing to remove.
        CQoRegistry machine(HKEY_LOCAL_MACHINE, MakerKeyPath, false);
        CQoRegistry user(HKEY_CURRENT_USER, MakerKeyPath, false);
        machine.DeleteSubKey(u"QoLog");
        machine.DeleteSubKey(u"Tavrel");
        machineKeysLeft = HasSubKeys(machine);
        user.DeleteSubKey(u"Tavrel");
        userKeysLeft = HasSubKeys(user);
        device::FileSystem::removeFile(RulesFile);
    }
    if (!machineKeysLeft)
        DeleteMakerKey(HKEY_LOCAL_MACHINE);
    if (!userKeysLeft)
        DeleteMakerKey(HKEY_CURRENT_USER);
}

bool CTavrelSettingsRemoval::HasSubKeys(CQoRegistry& key)
{
    CQoString name;
    return key.GetFirstSubKey(name);
}

void CTavrelSettingsRemoval::DeleteMakerKey(HKEY hive)
{
    CQoRegistry software(hive, u"Software", true);
    software.DeleteSubKey(MakerKeyName);
}
