#include "shell/TavrelCommandLine.h"

#include <charconv>

namespace {

std::optional<int> WholeNumber(const std::string& text, int lowest, int highest)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, result] = std::from_chars(text.data(), end, value);
    if (result != std::errc() || stop != end || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

const char* CTavrelCommandLine::Usage()
{
    return "usage: tavrel [--device DIR] [--headless] [--snapshot FILE] [--script FILE] [--zoom N]\n"
           "              [--control-port P] [--notify-port Q] [TavrelControl]\n"
           "\n"
           "The calendar of the device, in a window that shows the device's screen.\n"
           "\n"
           "  --device DIR        the device folder (else $TAVREL_DEVICE, else ~/.local/share/tavrel/device)\n"
           "  --headless          no window: the screen is kept off-screen\n"
           "  --snapshot FILE     write the screen as PNG once start-up has settled (or the script\n"
           "                      has ended) and exit\n"
           "  --script FILE       play the actions of FILE (listed below), then end when headless;\n"
           "                      a line that finds no such control or item ends the run, exit 1\n"
           "  --zoom N            window pixels per screen pixel, 1 to 8 (default 2)\n"
           "  --control-port P    the port control commands arrive on (default 22137; 0: any free port)\n"
           "  --notify-port Q     the port notifications go to (default 22138)\n"
           "  TavrelControl       started by a control application: the window stays hidden\n";
}

std::optional<CTavrelCommandLine> CTavrelCommandLine::Parse(const std::vector<std::string>& arguments, std::string* error)
{
    auto fail = [&](const std::string& why) -> std::optional<CTavrelCommandLine> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    CTavrelCommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.help = true;
            continue;
        }
        if (argument == "--headless") {
            line.headless = true;
            continue;
        }
        if (argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
            line.parameters.emplace_back(device::fromUtf8(argument).c_str());
            continue;
        }
        // "--name value" or "--name=value".
        std::string name = argument;
        std::optional<std::string> value;
        if (std::size_t equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        const bool takesValue = name == "--device" || name == "--snapshot" || name == "--script" || name == "--zoom"
                                || name == "--control-port" || name == "--notify-port";
        if (!takesValue)
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
        } else if (name == "--snapshot") {
            line.snapshot = *value;
        } else if (name == "--script") {
            line.script = *value;
        } else if (name == "--zoom") {
            std::optional<int> zoom = WholeNumber(*value, 1, MaximumZoom);
            if (!zoom)
                return fail("--zoom takes a whole number from 1 to " + std::to_string(MaximumZoom) + ", not '" + *value + "'");
            line.zoom = *zoom;
        } else {
            // Commands may arrive on any free port (0); notifications need a real one.
            const int lowest = name == "--control-port" ? 0 : 1;
            std::optional<int> port = WholeNumber(*value, lowest, 65535);
            if (!port)
                return fail(name + " takes a port from " + std::to_string(lowest) + " to 65535, not '" + *value + "'");
            (name == "--control-port" ? line.controlPort : line.notifyPort) = *port;
        }
    }
    return line;
}
