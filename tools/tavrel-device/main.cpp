// tavrel-device: the administration tool of an emulated handheld's device folder.

#include "ToolCommands.h"

#include "platform/device/CommandLineParser.h"
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
    "  reg get|set|delete|list|export|import ...\n"
    "                                        read and change the registry; .reg files both ways\n"
    "  date parse TEXT                       parse a date as the device locale does\n"
    "  pim add|list|show|edit|delete|import|export ...\n"
    "                                        the appointment store; iCalendar files both ways\n"
    "  install [--if-needed] [PACKAGE_DIR]   install the Tavrel package (default: the build's)\n"
    "  uninstall [--answer yes|no]           remove the Tavrel package\n"
    "  identity [--major N] [--platform T]   the OS major version and platform type the device answers\n"
    "  reminder add|list|delete ...          the reminder store that tavrel-reminder shows\n"
    "  scheduler [--watch | --list]          start the programs whose registered time has come\n"
    "  ui-gallery [--headless --snapshot F]  every control of the toolkit on one screen\n"
    "\n"
    "The device folder is DIR, else $TAVREL_DEVICE, else ~/.local/share/tavrel/device.\n"
    "COMMAND --help prints the command's usage; --version the version and the build.\n"
    "Exit status: 0 done, 1 failed, 2 bad arguments.\n";

int runInit(const std::vector<std::string>& args)
{
    if (!args.empty()) {
        std::fprintf(stderr, "tavrel-device: init takes no arguments, not '%s'\n", args.front().c_str());
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
    std::vector<std::string> words;
    device::CommandLineParser parser("tavrel-device");
    parser.value("--device", &deviceRoot).words(&words).stopAtFirstWord();
    if (std::optional<int> exitCode = parser.answer(parser.parse(std::vector<std::string>(argv + 1, argv + argc)), usage))
        return *exitCode;
    if (words.empty()) {
        std::fprintf(stderr, "tavrel-device: no command given (try --help)\n");
        return 2;
    }
    const std::string command = words.front();
    const std::vector<std::string> args(words.begin() + 1, words.end());

    const ToolCommand* found = findToolCommand(command);
    if (!found) {
        std::fprintf(stderr, "tavrel-device: unknown command '%s' (try --help)\n", command.c_str());
        return 2;
    }
    // Before the device folder is chosen: asking for help creates nothing.
    if (device::CommandLineParser::asksForHelp(args)) {
        std::fputs(found->usage(), stdout);
        return 0;
    }
    std::string error;
    if (!device::DeviceFolder::selectForProgram(deviceRoot, &error)) {
        std::fprintf(stderr, "tavrel-device: %s\n", error.c_str());
        return 1;
    }
    if (command == "init")
        return runInit(args);
    return found->run(args);
}
