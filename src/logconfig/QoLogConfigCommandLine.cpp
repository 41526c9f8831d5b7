#include "logconfig/QoLogConfigCommandLine.h"

#include "platform/device/CommandLineParser.h"

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
           "  --zoom N         window pixels per screen pixel, 1 to 8 (default 2)\n"
           "  --version        print the version and the build, and exit\n";
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
    std::optional<std::string> zoom;
    device::CommandLineParser parser("qolog-config");
    parser.value("--device", &line.device)
        .flag("--headless", &line.headless)
        .value("--script", &line.script)
        .value("--zoom", &zoom);
    const device::CommandLineParser::Outcome outcome = parser.parse(arguments);
    if (outcome.failed())
        return fail(outcome.error);
    line.help = outcome.request == device::CommandLineParser::Request::Help;
    line.version = outcome.request == device::CommandLineParser::Request::Version;
    if (line.help || line.version)
        return line;
    if (zoom) {
        int number = 0;
        const char* end = zoom->data() + zoom->size();
        auto [stop, result] = std::from_chars(zoom->data(), end, number);
        if (result != std::errc() || stop != end || number < 1 || number > MaximumZoom)
            return fail("--zoom needs a whole number from 1 to " + std::to_string(MaximumZoom) + ", not '" + *zoom + "'");
        line.zoom = number;
    }
    if (line.headless && !line.script)
        return fail("--headless needs --script: nobody could close the dialog");
    return line;
}
