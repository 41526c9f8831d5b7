#include "setup/TavrelInstallFolder.h"

#include "common/QoRegistry.h"

CTavrelInstallFolder::CTavrelInstallFolder(const char16_t* folder) : m_folder(folder) {}

CTavrelInstallFolder CTavrelInstallFolder::FromRegistry()
{
    // Opened only: reading the folder must not create the keys of a package that is going away.
    CQoRegistry orvix(HKEY_LOCAL_MACHINE, InstallKeyPath, false);
    CQoRegistry oem(HKEY_LOCAL_MACHINE, OemInstallKeyPath, false);
    // A null default reads a missing value as empty and writes nothing back.
    if (orvix.IsOpen() && orvix.ValueExists(InstallDirValue))
        return CTavrelInstallFolder(orvix.GetString(InstallDirValue, nullptr));
    return CTavrelInstallFolder(oem.GetString(InstallDirValue, nullptr));
}

CQoString CTavrelInstallFolder::PathOf(const char16_t* fileName) const
{
    CQoString path = m_folder;
    if (path.Right(1) != u"\\")
        path.AppendChar(u'\\');
    path.Append(fileName);
    return path;
}
