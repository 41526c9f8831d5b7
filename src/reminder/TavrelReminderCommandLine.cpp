#include "reminder/TavrelReminderCommandLine.h"

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
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
            continue;
        }
        if (argument == "--headless") {
            line.headless = true;
            continue;
        }
        if (argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
            line.parameters.push_back(argument);
            continue;
        }
        std::string name = argument;
        std::optional<std::string> value;
        if (std::size_t equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name != "--device" && name != "--script" && name != "--zoom")
            return fail("unknown option " + name + " (try --help)");
        if (!value) {
            if (i + 1 >= arguments.size())
                return fail(name + " needs a value (try --help)");
            value = arguments[++i];
        }
        if (value->empty())
            return fail(name + " needs a value (try --help)");
        if (name == "--device") {
            line.device = *value;
        } else if (name == "--script") {
            line.script = *value;
        } else {
            int zoom = 0;
            const char* end = value->data() + value->size();
            auto [stop, result] = std::from_chars(value->data(), end, zoom);
            if (result != std::errc() || stop != end || zoom < 1 || zoom > MaximumZoom)
                return fail("--zoom needs a whole number from 1 to " + std::to_string(MaximumZoom));
            line.zoom = zoom;
        }
    }
    return line;
}
