#pragma once
// PackageInstaller: puts the Tavrel package onto a device and takes it off again, as the handheld's
// package installer does with a cabinet file.
//
// The package is a folder laid out as the device's file system (the build's assets/package, see
// tools/assetgen/README.md): its files are copied to the same device paths, replacing what is
// there. Beside the files the installer records
//   - the program table (ROOT/programs.txt, device::ProgramTable): the package's device programs
//     and the host programs that run them, found next to this tool;
//   - HKEY_LOCAL_MACHINE "Software\Apps\Orvix Tavrel": "InstallDir" = "\Program Files\Tavrel",
//     "Instl" = 1, "InstalledFiles" (REG_MULTI_SZ, every device path it copied) and
//     "PackageTime" (the newest time among the package's files and programs, for IsUpToDate);
//   - the start-menu shortcuts "\Windows\Start Menu\Programs\Tavrel.lnk" and "QoLog Config.lnk"
//     in the handheld's form (the command's length, "#", the quoted program path);
//   - on a fresh installation (no install key yet), HKEY_CURRENT_USER "Software\Orvix\Tavrel"
//     "Initialized" = 1, so the calendar's next start applies the package's default skin even
//     when it ran on the device before; installing over an installation keeps the user's skin.
// Uninstall removes the files it recorded, the folders they leave empty, the shortcuts, the
// program table's entries and the install key.
//
// The package's setup library (libTavrelSetup.so beside the programs, platform/installer) is loaded
// and called around both: Install_Init before the files are copied and Install_Exit with the
// install folder after; Uninstall_Init before they are removed (where the library asks the user,
// through the InstallerDesktop, whether to keep the settings) and Uninstall_Exit after. The
// installation records the library it used in the program table as "\Windows\AppMgr\Orvix
// Tavrel.DLL", so removing the package calls that library. A library that cannot be loaded or
// lacks a function is named on the error stream and the package goes on without it: the files are
// what the user needs. A library that cancels stops the installation or the removal.

#include "platform/device/WideText.h"
#include "platform/installer/SetupApi.h"

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class InstallerDesktop;

namespace installer {
class SetupLibrary;
}

class PackageInstaller {
public:
    struct Program {
        const char16_t* devicePath;
        const char* hostName;
        const char16_t* shortcut; // its start-menu shortcut, or null
    };
    static const std::vector<Program>& Programs();

    static constexpr const char16_t* InstallKey = u"Software\\Apps\\Orvix Tavrel";
    static constexpr const char16_t* SettingsKey = u"Software\\Orvix\\Tavrel";
    static constexpr const char16_t* InstallFolder = u"\\Program Files\\Tavrel";
    static constexpr const char16_t* Shortcut = u"\\Windows\\Start Menu\\Programs\\Tavrel.lnk";
    static constexpr const char16_t* MainProgram = u"\\Program Files\\Tavrel\\Tavrel.exe";
    // Where the program table records the setup library the package was installed with.
    static constexpr const char16_t* SetupLibraryPath = u"\\Windows\\AppMgr\\Orvix Tavrel.DLL";
    static constexpr const char* SetupLibraryName = "libTavrelSetup.so";

    // `package` is the package folder, `programs` the folder of the host programs; the setup
    // library is `setupLibrary`, else the one among the programs.
    PackageInstaller(std::filesystem::path package, std::filesystem::path programs,
                     std::optional<std::filesystem::path> setupLibrary = std::nullopt);

    // The package beside a program folder: PROGRAMS/../assets/package.
    static std::filesystem::path PackageBeside(const std::filesystem::path& programs);
    // The shortcut file's text for a program path: 34#"\Program Files\Tavrel\Tavrel.exe".
    static std::string ShortcutText(device::WideView programPath);

    // Installs onto the selected device; messages go to `out` and `err`. False when the package is
    // missing or a file or setting cannot be written.
    bool Install(std::ostream& out, std::ostream& err);
    // Whether the package as it stands is installed: every recorded file there, nothing in the
    // package newer than the installation, and the program table as Install would write it.
    bool IsUpToDate() const;
    // False when a setting cannot be changed or the setup library keeps the package; removing what
    // is not installed changes nothing. The setup library's questions appear on `desktop`.
    static bool Uninstall(std::ostream& out, std::ostream& err, InstallerDesktop& desktop);

private:
    struct PackageFile {
        std::filesystem::path host;
        device::WideString device;
    };
    bool ListPackage(std::vector<PackageFile>& files, std::string& error) const;
    std::filesystem::file_time_type NewestTime(const std::vector<PackageFile>& files) const;
    bool CopyFiles(const std::vector<PackageFile>& files, std::vector<device::WideString>& copied,
                   std::ostream& err) const;
    bool RecordPrograms(const installer::SetupLibrary* setup, std::ostream& out, std::ostream& err) const;
    // Whether the installer's mark is there ("Instl" = 1).
    static bool IsInstalled();
    static std::unique_ptr<installer::SetupLibrary> LoadSetupLibrary(const std::filesystem::path& file,
                                                                      std::ostream& err);
    // Removes the recorded files, the folders they leave empty, the shortcuts, the program table's
    // entries and the install key; the number of files removed, or nothing when the key stays.
    static std::optional<std::size_t> RemoveInstallation(std::ostream& err);

    std::filesystem::path m_package;
    std::filesystem::path m_programs;
    std::filesystem::path m_setupLibrary;
};
