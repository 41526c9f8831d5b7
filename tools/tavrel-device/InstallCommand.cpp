#include "InstallCommand.h"

#include "InstallerDesktop.h"
#include "PackageInstaller.h"

#include "platform/ui/Messages.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace {

// The folder of this tool's own executable, where the build puts every program.
std::filesystem::path ProgramFolder()
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : self.parent_path();
}

} // namespace

const char* installCommandUsage()
{
    return "usage: tavrel-device install [--if-needed] [--setup-library FILE] [PACKAGE_DIR]\n"
           "Copies the Tavrel package onto the device (default: the package the build lays out beside\n"
           "the programs); with --if-needed only when it is not installed or something in it is newer.\n"
           "The package's setup library (default: libTavrelSetup.so beside the programs) is called\n"
           "before and after the files are copied; one that cannot be used is named and left out.\n";
}

const char* uninstallCommandUsage()
{
    return "usage: tavrel-device uninstall [--answer yes|no] [--headless]\n"
           "Removes what install put on the device, calling the setup library it was installed with.\n"
           "Its question whether to keep the Tavrel settings (the icon rules file, the calendar's\n"
           "settings and the logging switches) opens in a window; --answer gives the answer without\n"
           "one; --headless, or no display, takes the default answer, Yes (everything stays).\n";
}

int runInstallCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool ifNeeded = false;
    std::optional<std::filesystem::path> package;
    std::optional<std::filesystem::path> setupLibrary;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--if-needed") {
            ifNeeded = true;
        } else if (arg == "--setup-library") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                err << "tavrel-device: --setup-library needs a file\n";
                return 2;
            }
            setupLibrary = std::filesystem::absolute(args[++i]);
        } else if (arg.rfind("--", 0) == 0) {
            err << "tavrel-device: unknown option '" << arg
                << "' (usage: install [--if-needed] [--setup-library FILE] [PACKAGE_DIR])\n";
            return 2;
        } else if (package) {
            err << "tavrel-device: install takes one package folder\n";
            return 2;
        } else {
            package = std::filesystem::absolute(arg);
        }
    }
    const std::filesystem::path programs = ProgramFolder();
    PackageInstaller installer(package.value_or(PackageInstaller::PackageBeside(programs)), programs, setupLibrary);
    if (ifNeeded && installer.IsUpToDate()) {
        out << "Tavrel is installed and up to date\n";
        return 0;
    }
    return installer.Install(out, err) ? 0 : 1;
}

int runInstallCommand(const std::vector<std::string>& args) { return runInstallCommand(args, std::cout, std::cerr); }

int runUninstallCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool headless = false;
    std::optional<int> answer;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--headless") {
            headless = true;
        } else if (arg == "--answer") {
            const std::string word = i + 1 < args.size() ? args[++i] : std::string();
            if (word == "yes") {
                answer = ui::IDYES;
            } else if (word == "no") {
                answer = ui::IDNO;
            } else {
                err << "tavrel-device: --answer takes yes or no\n";
                return 2;
            }
        } else {
            err << "tavrel-device: unknown argument '" << arg
                << "' (usage: uninstall [--answer yes|no] [--headless])\n";
            return 2;
        }
    }
    InstallerDesktop desktop(headless, answer);
    return PackageInstaller::Uninstall(out, err, desktop) ? 0 : 1;
}

int runUninstallCommand(const std::vector<std::string>& args) { return runUninstallCommand(args, std::cout, std::cerr); }
