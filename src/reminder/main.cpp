// tavrel-reminder: the reminder program, which the device's scheduler starts when a reminder falls
// due.

#include "reminder/TavrelReminderCommandLine.h"
#include "reminder/TavrelReminderProgram.h"

#include "platform/device/CommandLineParser.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/RunningProgram.h"
#include "platform/ui/sdl/BackendFactory.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // The device path the program registers its own next start under.
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\TavrelReminder.Exe");

    std::string error;
    std::optional<CTavrelReminderCommandLine> line
        = CTavrelReminderCommandLine::Parse(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!line) {
        std::fprintf(stderr, "tavrel-reminder: %s\n", error.c_str());
        return 2;
    }
    if (line->help) {
        std::fputs(CTavrelReminderCommandLine::Usage(), stdout);
        return 0;
    }
    if (line->version) {
        std::printf("%s\n", device::CommandLineParser::versionText().c_str());
        return 0;
    }
    if (!device::DeviceFolder::selectForProgram(line->device, &error)) {
        std::fprintf(stderr, "tavrel-reminder: %s\n", error.c_str());
        return 1;
    }

    ui::BackendOptions options;
    options.headless = line->headless;
    options.zoom = line->zoom;
    options.title = "Tavrel Reminder";
    CTavrelReminderProgram program(std::move(*line), [options]() mutable {
        std::string reason;
        std::unique_ptr<ui::Backend> backend = ui::createBackend(options, &reason);
        if (!backend) {
            std::fprintf(stderr, "tavrel-reminder: no display (%s); running headless\n", reason.c_str());
            options.headless = true;
            backend = ui::createBackend(options);
        }
        return backend;
    });
    return program.Run();
}
