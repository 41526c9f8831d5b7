#include "logconfig/QoLogConfigCommandLine.h"

#include <charconv>

const char* CQoLogConfigCommandLine::Usage()
{
    return "usage: qolog-config [--device DIR] [--headless] [--script FILE] [--zoom N]\n"
           "\n"
           "QoLog Config: switches the diagnostic log of the calendar program (\"Tavrel\") and of its\n"
           "companion control (\"Tavrel ActiveX Control\") on and off. The switches are HKEY_LOCAL_MACHINE\n"
           "\"Software\\Orvix\\QoLog\"; \"ok\" writes both, closing the dialog any other way writes nothing.\n"
           "The calendar writes its log \"\\Tavrel_log.txt\" from its next trace on.\n"
           "\n"
           "  --device DIR     the device folder (else $TAVREL_DEVICE, else ~/.local/share/tavrel/device)\n"
           "  --headless       no window: the screen is kept off-screen; needs --script\n"
           "  --script FILE    input actions for the dialog, one a line (check 1000 1 checks \"Tavrel\",\n"
           "                   check 1001 1 \"Tavrel ActiveX Control\", press OK, dump FILE, snap FILE ...);\n"
           "                   the program ends when the dialog has closed, or headless when the script\n"
           "                   has run out (then nothing is written)\n"
           "  --zoom N         window pixels per screen pixel, 1 to 8 (default 2)\n";
}

std::optional<CQoLogConfigCommandLine> CQoLogConfigCommandLine::Parse(
    const std::vector<std::string>& arguments, std::string* error)
{
    auto fail = [&](const std::string& why) -> std::optional<CQoLogConfigCommandLine> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    CQoLogConfigCommandLine line;
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
        if (argument.size() < 2 || argument.compare(0, 2, "--") != 0)
            return fail("unexpected argument " + argument + " (try --help)");
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
    if (line.headless && !line.script && !line.help)
        return fail("--headless needs --script: nobody could close the dialog");
    return line;
}
