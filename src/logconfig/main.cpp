// qolog-config: QoLog Config, the program that switches the diagnostic logging of the calendar
// program and of its companion control on and off.

#include "logconfig/QoLogConfigCommandLine.h"
#include "logconfig/QoLogConfigProgram.h"

#include "platform/device/CommandLineParser.h"
#include "platform/device/RunningProgram.h"
#include "platform/ui/sdl/BackendFactory.h"

#include <cstdio>

int main(int argc, char** argv)
{
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\QoLogConfig.exe");

    std::string error;
    std::optional<CQoLogConfigCommandLine> line
        = CQoLogConfigCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!line) {
        std::fprintf(stderr, "qolog-config: %s\n", error.c_str());
        return 2;
    }
    if (line->help) {
        std::fputs(CQoLogConfigCommandLine::Usage(), stdout);
        return 0;
    }
    if (line->version) {
        std::printf("%s\n", device::CommandLineParser::versionText().c_str());
        return 0;
    }
    const int zoom = line->zoom;
    CQoLogConfigProgram program(std::move(*line), [zoom](bool headless, std::string* reason) {
        ui::BackendOptions options;
        options.headless = headless;
        options.zoom = zoom;
        options.title = "QoLog Config";
        return ui::createBackend(options, reason);
    });
    return program.Run();
}
