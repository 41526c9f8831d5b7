#include "shell/TavrelCommandLine.h"

#include "platform/device/CommandLineParser.h"
#include "shell/TavrelCommands.h"
#include "views/TavrelViewMessages.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <tuple>

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

// The handheld's own command line: "TavrelControl" (any letter case), and the switches other programs
// of the device start the calendar with ("/openactivity=ID"). Any other word is a mistake: the
// calendar would ignore it without a word.
bool IsHandheldParameter(const std::string& word)
{
    return (!word.empty() && word.front() == '/')
           || CQoString(device::fromUtf8(word).c_str()).CompareNoCase(u"TavrelControl") == 0;
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
           "  --version           print the version and the build, and exit\n"
           "  TavrelControl       started by a control application: the window stays hidden\n"
           "\n"
           "Without a display, --headless is needed. Exit status: 0 done, 1 failed, 2 bad arguments.\n";
}

std::string CTavrelCommandLine::CommandIds()
{
    const std::pair<const char*, int> commands[] = {
        {"View Daily", ID_VIEW_DAILY},          {"View Weekly", ID_VIEW_WEEKLY},   {"View Monthly", ID_VIEW_MONTHLY},
        {"View Quarterly", ID_VIEW_QUARTERLY},  {"Go To Next", ID_GOTO_NEXT},     {"Go To Previous", ID_GOTO_PREVIOUS},
        {"Go To Today", ID_GOTO_TODAY},         {"Icon Rules", ID_VIEW_RULES},     {"Fade background", ID_BACKGROUND_FADE},
        {"Choose background", ID_BACKGROUND_CHOOSE}, {"Choose skin", ID_CHOOSE_SKIN}, {"Personal calendar", ID_CALENDAR_PERSONAL},
        {"Combined calendar", ID_CALENDAR_COMBINED}, {"About", ID_APP_ABOUT},       {"Exit", ID_APP_EXIT},
    };
    std::string text = "The calendar's commands for `command ID` (a command nothing handles ends the script):\n";
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        std::string entry = "  " + std::to_string(commands[i].second) + " " + commands[i].first;
        const bool lineEnds = i % 3 == 2 || i + 1 == std::size(commands);
        if (!lineEnds)
            entry.resize(std::max<std::size_t>(entry.size(), 26), ' ');
        text += entry + (lineEnds ? "\n" : "");
    }
    return text;
}

std::optional<CTavrelCommandLine> CTavrelCommandLine::Parse(const std::vector<std::string>& arguments, std::string* error)
{
    auto fail = [&](const std::string& why) -> std::optional<CTavrelCommandLine> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    CTavrelCommandLine line;
    std::optional<std::string> zoom, controlPort, notifyPort;
    std::vector<std::string> words;
    device::CommandLineParser parser("tavrel");
    parser.value("--device", &line.device)
        .flag("--headless", &line.headless)
        .value("--snapshot", &line.snapshot)
        .value("--script", &line.script)
        .value("--zoom", &zoom)
        .value("--control-port", &controlPort)
        .value("--notify-port", &notifyPort)
        .words(&words, SIZE_MAX, IsHandheldParameter);
    const device::CommandLineParser::Outcome outcome = parser.parse(arguments);
    if (outcome.failed())
        return fail(outcome.error);
    line.help = outcome.request == device::CommandLineParser::Request::Help;
    line.version = outcome.request == device::CommandLineParser::Request::Version;

    if (zoom) {
        std::optional<int> number = WholeNumber(*zoom, 1, MaximumZoom);
        if (!number)
            return fail("--zoom takes a whole number from 1 to " + std::to_string(MaximumZoom) + ", not '" + *zoom + "'");
        line.zoom = *number;
    }
    // Commands may arrive on any free port (0); notifications need a real one.
    for (auto [name, text, port, lowest] : {std::tuple {"--control-port", &controlPort, &line.controlPort, 0},
                                            std::tuple {"--notify-port", &notifyPort, &line.notifyPort, 1}}) {
        if (!*text)
            continue;
        std::optional<int> number = WholeNumber(**text, lowest, 65535);
        if (!number)
            return fail(std::string(name) + " takes a port from " + std::to_string(lowest) + " to 65535, not '" + **text + "'");
        *port = *number;
    }
    for (const std::string& word : words)
        line.parameters.emplace_back(device::fromUtf8(word).c_str());
    return line;
}
