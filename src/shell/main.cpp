// tavrel: the calendar program.

#include "platform/device/CommandLineParser.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/RunningProgram.h"
#include "platform/ui/Script.h"
#include "platform/ui/sdl/BackendFactory.h"
#include "shell/TavrelCommandLine.h"
#include "shell/TavrelProgram.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // The program's place on the device names its log file and the folder of its icons.
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");

    std::string error;
    std::optional<CTavrelCommandLine> line = CTavrelCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!line) {
        std::fprintf(stderr, "tavrel: %s\n", error.c_str());
        return 2;
    }
    if (line->help) {
        std::fputs(CTavrelCommandLine::Usage(), stdout);
        std::fputs("\n", stdout);
        std::fputs(ui::Script::help(), stdout);
        std::fputs("\n", stdout);
        std::fputs(CTavrelCommandLine::CommandIds().c_str(), stdout);
        return 0;
    }
    if (line->version) {
        std::printf("%s\n", device::CommandLineParser::versionText().c_str());
        return 0;
    }
    if (!device::DeviceFolder::selectForProgram(line->device, &error)) {
        std::fprintf(stderr, "tavrel: %s\n", error.c_str());
        return 1;
    }

    ui::BackendOptions options;
    options.headless = line->headless;
    options.zoom = line->zoom;
    std::unique_ptr<ui::Backend> backend = ui::createBackend(options, &error);
    if (!backend) {
        // Running on headless would leave a calendar nobody sees and nothing ends.
        std::fprintf(stderr, "tavrel: no display (%s); run with --headless\n", error.c_str());
        return 1;
    }
    return CTavrelProgram(std::move(*line)).Run(std::move(backend));
}
