// tavrel-device: the administration tool of an emulated handheld's device folder.

#include "ToolCommands.h"

#include "platform/device/DeviceFolder.h"
#include "platform/device/RunningProgram.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char usage[] =
    "usage: tavrel-device [--device DIR] COMMAND [ARGS...]\n"
    "\n"
    "commands:\n"
    "  init                                  create the device folder\n"
    "  reg get|set|delete|list|export ...    read and change the registry\n"
    "  date parse TEXT                       parse a date as the device locale does\n"
    "  pim add|list|show|delete ...          the appointment store\n"
    "  install [--if-needed] [PACKAGE_DIR]   install the Tavrel package (default: the build's)\n"
    "  uninstall [--answer yes|no]           remove the Tavrel package\n"
    "  identity [--major N] [--platform T]   the OS major version and platform type the device answers\n"
    "  reminder add|list|delete ...          the reminder store that tavrel-reminder shows\n"
    "  scheduler [--watch | --list]          start the programs whose registered time has come\n"
    "  ui-gallery [--headless --snapshot F]  every control of the toolkit on one screen\n"
    "\n"
    "The device folder is DIR, else $TAVREL_DEVICE, else ~/.local/share/tavrel/device.\n"
    "COMMAND --help prints the command's usage.\n";

int runInit(const std::vector<std::string>& args)
{
    if (!args.empty()) {
        std::fprintf(stderr, "tavrel-device: init takes no arguments\n");
        return 2;
    }
    std::printf("%s\n", device::DeviceFolder::current().root().c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    device::RunningProgram::setDevicePath(u"\\Windows\\tavrel-device.exe");
    std::optional<std::string> deviceRoot;
    int i = 1;
    for (; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg == "--device") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tavrel-device: --device needs a folder\n");
                return 2;
            }
            deviceRoot = argv[++i];
            continue;
        }
        if (arg.rfind("--device=", 0) == 0) {
            deviceRoot = arg.substr(9);
            continue;
        }
        break;
    }
    if (i >= argc) {
        std::fprintf(stderr, "tavrel-device: no command given (try --help)\n");
        return 2;
    }
    std::string command = argv[i++];
    std::vector<std::string> args(argv + i, argv + argc);

    const ToolCommand* found = findToolCommand(command);
    if (!found) {
        std::fprintf(stderr, "tavrel-device: unknown command '%s' (try --help)\n", command.c_str());
        return 2;
    }
    // Before the device folder is chosen: asking for help creates nothing.
    if (asksForHelp(args)) {
        std::fputs(found->usage(), stdout);
        return 0;
    }
    std::string error;
    if (!device::DeviceFolder::select(device::DeviceFolder::resolve(deviceRoot), &error)) {
        std::fprintf(stderr, "tavrel-device: %s\n", error.c_str());
        return 1;
    }
    if (command == "init")
        return runInit(args);
    return found->run(args);
}
