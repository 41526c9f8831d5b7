#pragma once
// CTavrelInstallFolder: the folder the package is installed into, and the paths of its files.
// The installer hands the folder to Install_Exit; at removal it is read from the install key that
// the installer recorded, "InstallDir" of HKLM "Software\Apps\Orvix Tavrel", or of the key an
// equipment maker's edition of the package uses, "Software\Apps\OEM Tavrel".

#include "common/QoString.h"

class CTavrelInstallFolder {
public:
    static constexpr const char16_t* InstallKeyPath = u"Software\\Apps\\Orvix Tavrel";
    static constexpr const char16_t* OemInstallKeyPath = u"Software\\Apps\\OEM Tavrel";
    static constexpr const char16_t* InstallDirValue = u"InstallDir";

    explicit CTavrelInstallFolder(const char16_t* folder);

    // "InstallDir" of the first install key that holds it; an empty folder (the device's root)
    // when neither does. Nothing is written to either key.
    static CTavrelInstallFolder FromRegistry();

    const CQoString& Folder() const { return m_folder; }
    // The folder, a backslash unless it already ends with one, and the file name:
    // "\Program Files\Tavrel" and "\Program Files\Tavrel\" both give
    // "\Program Files\Tavrel\TavrelReminder.Exe"; the empty folder gives "\TavrelReminder.Exe".
    CQoString PathOf(const char16_t* fileName) const;

private:
    CQoString m_folder;
};
