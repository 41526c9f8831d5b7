// The setup library's four exported functions, called by the device's package installer with the
// installer's argument lists and result codes (platform/installer/SetupApi.h). Each selects the
// device of the program that loaded the library, runs its step of CTavrelSetup and answers the code
// that lets the installer go on, whatever happened: the files are what the user needs. Nothing
// leaves the library as an exception.

#include "setup/TavrelInstallFolder.h"
#include "setup/TavrelSetup.h"

#include "platform/device/DebugOutput.h"
#include "platform/device/SharedLibrary.h"
#include "platform/installer/SetupApi.h"

#include <string>

namespace {

template <typename Step>
void RunStep(const char16_t* name, Step step) noexcept
{
    try {
        std::string error;
        if (!device::SharedLibrary::selectProgramDevice(&error)) {
            device::debugOutput(device::WideString(u"TavrelSetup: ") + name + u" skipped: " + device::fromUtf8(error)
                                + u"\n");
            return;
        }
        step();
    } catch (...) {
        device::debugOutput(device::WideString(u"TavrelSetup: ") + name + u" stopped by an error\n");
    }
}

} // namespace

SETUP_EXPORT installer::codeINSTALL_INIT Install_Init(installer::HWND parent, installer::BOOL firstCall,
                                                      installer::BOOL previouslyInstalled,
                                                      installer::LPCTSTR installDir)
{
    RunStep(u"Install_Init", [] { CTavrelSetup::InstallInit(); });
    return installer::codeINSTALL_INIT_CONTINUE;
}

SETUP_EXPORT installer::codeINSTALL_EXIT Install_Exit(installer::HWND parent, installer::LPCTSTR installDir,
                                                      installer::WORD failedDirs, installer::WORD failedFiles,
                                                      installer::WORD failedRegKeys, installer::WORD failedRegValues,
                                                      installer::WORD failedShortcuts)
{
    RunStep(u"Install_Exit", [installDir] { CTavrelSetup::InstallExit(CTavrelInstallFolder(installDir)); });
    return installer::codeINSTALL_EXIT_DONE;
}

SETUP_EXPORT installer::codeUNINSTALL_INIT Uninstall_Init(installer::HWND parent, installer::LPCTSTR installDir)
{
    // The folder is read from the install key, as the package recorded it, rather than taken from
    // the installer.
    RunStep(u"Uninstall_Init", [parent] { CTavrelSetup::UninstallInit(installer::fromHwnd(parent)); });
    return installer::codeUNINSTALL_INIT_CONTINUE;
}

SETUP_EXPORT installer::codeUNINSTALL_EXIT Uninstall_Exit(installer::HWND parent)
{
    RunStep(u"Uninstall_Exit", [] { CTavrelSetup::UninstallExit(); });
    return installer::codeUNINSTALL_EXIT_DONE;
}
