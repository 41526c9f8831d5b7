#include "reminder/TavrelReminderCommandLine.h"

#include "platform/device/CommandLineParser.h"

#include <charconv>

const char* CTavrelReminderCommandLine::Usage()
{
    return "usage: tavrel-reminder [--device DIR] [--headless] [--script FILE] [--zoom N] [AppRunAtTime]\n"
           "\n"
           "The reminder program of the device: shows the reminders that are due, with the alarm, and\n"
           "registers its own next start with the device's scheduler (tavrel-device scheduler).\n"
           "Nothing due: it only registers the next start and ends, without a window.\n"
           "\n"
           "  --device DIR     the device folder (else $TAVREL_DEVICE, else ~/.local/share/tavrel/device)\n"
           "  --headless       no window: the screen is kept off-screen, the alarm and every message box\n"
           "                   are written to standard error; without a script the dialog is answered\n"
           "                   with OK (every due reminder snoozed for 5 minutes)\n"
           "  --script FILE    input actions for the dialog, one a line: tap X Y, hold X Y, down X Y,\n"
           "                   up X Y, key NAME, command ID, type TEXT, wait MS, idle, snap FILE, quit\n"
           "                   (command 1002 View / Change, 1003 Clear Alarm, 1005 Snooze, 1006 Snooze\n"
           "                   All, 1 OK); the program ends when the dialog has closed\n"
           "  --zoom N         window pixels per screen pixel, 1 to 8 (default 2)\n"
           "  --version        print the version and the build, and exit\n"
           "  AppRunAtTime     what the device's scheduler passes; nothing changes with it\n";
}

std::optional<CTavrelReminderCommandLine> CTavrelReminderCommandLine::Parse(
    const std::vector<std::string>& arguments, std::string* error)
{
    auto fail = [&](const std::string& why) -> std::optional<CTavrelReminderCommandLine> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    CTavrelReminderCommandLine line;
    std::optional<std::string> zoom;
    device::CommandLineParser parser("tavrel-reminder");
    parser.value("--device", &line.device)
        .flag("--headless", &line.headless)
        .value("--script", &line.script)
        .value("--zoom", &zoom)
        .words(&line.parameters, 1, [](const std::string& word) { return word == "AppRunAtTime"; });
    const device::CommandLineParser::Outcome outcome = parser.parse(arguments);
    if (outcome.failed())
        return fail(outcome.error);
    line.help = outcome.request == device::CommandLineParser::Request::Help;
    line.version = outcome.request == device::CommandLineParser::Request::Version;
    if (zoom) {
        int number = 0;
        const char* end = zoom->data() + zoom->size();
        auto [stop, result] = std::from_chars(zoom->data(), end, number);
        if (result != std::errc() || stop != end || number < 1 || number > MaximumZoom)
            return fail("--zoom needs a whole number from 1 to " + std::to_string(MaximumZoom) + ", not '" + *zoom + "'");
        line.zoom = number;
    }
    return line;
}
