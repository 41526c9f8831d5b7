#pragma once
// A package's setup library, loaded for the package installer: the four functions of SetupApi.h
// found by name in a shared library (device::SharedLibrary). A library is usable only with all
// four; one that cannot be loaded, or lacks any of them, is not used at all, and the reason names
// the library and each missing function, so the installer can say why it goes on without it.

#include "platform/installer/SetupApi.h"

#include <filesystem>
#include <memory>
#include <string>

namespace device {
class SharedLibrary;
}

namespace installer {

class SetupLibrary {
public:
    // The library in `file` with its four functions. Nothing, with the reason, when it cannot be
    // loaded or lacks a function ("FILE cannot be loaded: WHY", "FILE lacks Install_Exit, ...").
    [[nodiscard]] static std::unique_ptr<SetupLibrary> load(const std::filesystem::path& file,
                                                            std::string* error = nullptr);
    ~SetupLibrary();

    const std::filesystem::path& file() const;

    codeINSTALL_INIT installInit(HWND parent, bool firstCall, bool previouslyInstalled, LPCTSTR installDir) const;
    codeINSTALL_EXIT installExit(HWND parent, LPCTSTR installDir, WORD failedDirs = 0, WORD failedFiles = 0,
                                 WORD failedRegKeys = 0, WORD failedRegValues = 0, WORD failedShortcuts = 0) const;
    codeUNINSTALL_INIT uninstallInit(HWND parent, LPCTSTR installDir) const;
    codeUNINSTALL_EXIT uninstallExit(HWND parent) const;

private:
    explicit SetupLibrary(std::unique_ptr<device::SharedLibrary> library);

    std::unique_ptr<device::SharedLibrary> m_library;
    InstallInitFunction* m_installInit = nullptr;
    InstallExitFunction* m_installExit = nullptr;
    UninstallInitFunction* m_uninstallInit = nullptr;
    UninstallExitFunction* m_uninstallExit = nullptr;
};

} // namespace installer
