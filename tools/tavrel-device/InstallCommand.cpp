#include "InstallCommand.h"

#include "PackageInstaller.h"

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
    return "usage: tavrel-device install [--if-needed] [PACKAGE_DIR]\n"
           "Copies the Tavrel package onto the device (default: the package the build lays out beside\n"
           "the programs); with --if-needed only when it is not installed or something in it is newer.\n";
}

const char* uninstallCommandUsage()
{
    return "usage: tavrel-device uninstall\n"
           "Removes what install put on the device; the user's settings and files stay.\n";
}

int runInstallCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool ifNeeded = false;
    std::optional<std::filesystem::path> package;
    for (const std::string& arg : args) {
        if (arg == "--if-needed") {
            ifNeeded = true;
        } else if (arg.rfind("--", 0) == 0) {
            err << "tavrel-device: unknown option '" << arg << "' (usage: install [--if-needed] [PACKAGE_DIR])\n";
            return 2;
        } else if (package) {
            err << "tavrel-device: install takes one package folder\n";
            return 2;
        } else {
            package = std::filesystem::absolute(arg);
        }
    }
    const std::filesystem::path programs = ProgramFolder();
    PackageInstaller installer(package.value_or(PackageInstaller::PackageBeside(programs)), programs);
    if (ifNeeded && installer.IsUpToDate()) {
        out << "Tavrel is installed and up to date\n";
        return 0;
    }
    return installer.Install(out, err) ? 0 : 1;
}

int runInstallCommand(const std::vector<std::string>& args) { return runInstallCommand(args, std::cout, std::cerr); }

int runUninstallCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty()) {
        err << "tavrel-device: uninstall takes no arguments\n";
        return 2;
    }
    return PackageInstaller::Uninstall(out, err) ? 0 : 1;
}

int runUninstallCommand(const std::vector<std::string>& args) { return runUninstallCommand(args, std::cout, std::cerr); }
