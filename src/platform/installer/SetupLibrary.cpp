#include "platform/installer/SetupLibrary.h"

#include "platform/device/SharedLibrary.h"

#include <vector>

namespace installer {

SetupLibrary::SetupLibrary(std::unique_ptr<device::SharedLibrary> library) : m_library(std::move(library)) {}

SetupLibrary::~SetupLibrary() = default;

std::unique_ptr<SetupLibrary> SetupLibrary::load(const std::filesystem::path& file, std::string* error)
{
    std::string why;
    std::unique_ptr<device::SharedLibrary> library = device::SharedLibrary::load(file, &why);
    if (!library) {
        if (error)
            *error = file.string() + " cannot be loaded: " + why;
        return nullptr;
    }
    std::unique_ptr<SetupLibrary> setup(new SetupLibrary(std::move(library)));
    const device::SharedLibrary& loaded = *setup->m_library;
    setup->m_installInit = loaded.function<InstallInitFunction>(InstallInitName);
    setup->m_installExit = loaded.function<InstallExitFunction>(InstallExitName);
    setup->m_uninstallInit = loaded.function<UninstallInitFunction>(UninstallInitName);
    setup->m_uninstallExit = loaded.function<UninstallExitFunction>(UninstallExitName);

    std::vector<const char*> missing;
    if (!setup->m_installInit)
        missing.push_back(InstallInitName);
    if (!setup->m_installExit)
        missing.push_back(InstallExitName);
    if (!setup->m_uninstallInit)
        missing.push_back(UninstallInitName);
    if (!setup->m_uninstallExit)
        missing.push_back(UninstallExitName);
    if (missing.empty())
        return setup;
    if (error) {
        *error = file.string() + " lacks ";
        for (std::size_t i = 0; i < missing.size(); ++i)
            *error += (i ? ", " : "") + std::string(missing[i]);
    }
    return nullptr;
}

const std::filesystem::path& SetupLibrary::file() const { return m_library->file(); }

codeINSTALL_INIT SetupLibrary::installInit(HWND parent, bool firstCall, bool previouslyInstalled,
                                           LPCTSTR installDir) const
{
    return m_installInit(parent, firstCall ? 1 : 0, previouslyInstalled ? 1 : 0, installDir);
}

codeINSTALL_EXIT SetupLibrary::installExit(HWND parent, LPCTSTR installDir, WORD failedDirs, WORD failedFiles,
                                           WORD failedRegKeys, WORD failedRegValues, WORD failedShortcuts) const
{
    return m_installExit(parent, installDir, failedDirs, failedFiles, failedRegKeys, failedRegValues, failedShortcuts);
}

codeUNINSTALL_INIT SetupLibrary::uninstallInit(HWND parent, LPCTSTR installDir) const
{
    return m_uninstallInit(parent, installDir);
}

codeUNINSTALL_EXIT SetupLibrary::uninstallExit(HWND parent) const { return m_uninstallExit(parent); }

} // namespace installer
