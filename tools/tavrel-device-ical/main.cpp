// tavrel-device-ical: the device tool's iCalendar commands, `tavrel-device pim import` and
// `pim export`, which tavrel-device hands over to this program.
//
// They are a program of their own because libical brings ICU with it: three large libraries that
// every other command of the device tool would otherwise load and relocate at each start, for
// nothing (`pim list`, which scripts run over and over, among them).
//
//   tavrel-device-ical --device DIR import|export ARGS...

#include "PimImportCommand.h"

#include "platform/device/CommandLineParser.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/RunningProgram.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    device::RunningProgram::setDevicePath(u"\\Windows\\tavrel-device.exe");
    static const char usage[] = "usage: tavrel-device-ical --device DIR import|export ARGS...\n"
                                "(run through tavrel-device pim import and pim export)\n";
    std::optional<std::string> deviceRoot;
    std::vector<std::string> command;
    device::CommandLineParser parser("tavrel-device-ical");
    parser.value("--device", &deviceRoot).words(&command).stopAtFirstWord();
    if (std::optional<int> exitCode = parser.answer(parser.parse(std::vector<std::string>(argv + 1, argv + argc)), usage))
        return *exitCode;
    if (!deviceRoot || command.empty() || (command[0] != "import" && command[0] != "export")) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::string error;
    if (!device::DeviceFolder::selectForProgram(deviceRoot, &error)) {
        std::fprintf(stderr, "tavrel-device: %s\n", error.c_str());
        return 1;
    }
    if (command[0] == "import")
        return runPimImportCommand(command, std::cin, std::cout, std::cerr);
    return runPimExportCommand(command, std::cout, std::cerr);
}
