// tavrelctl: drives a running calendar through its control protocol, the way a control
// application on the device does, and prints what the calendar answers.

#include "ControlClient.h"

#include "platform/device/CommandLineParser.h"
#include "platform/device/WideText.h"
#include "platform/net/SocketLayer.h"
#include "protocol/TavrelControlMessage.h"
#include "protocol/TavrelDatagram.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace {

const char usage[] =
    "usage: tavrelctl [--port P] [--listen Q] [--timeout MS] [--expect-reply] COMMAND\n"
    "\n"
    "commands:\n"
    "  send NAME [ARG...]   send NAME:\"ARG\";\"ARG\"... (each argument quoted), print the answers\n"
    "  raw TEXT             send TEXT as it stands, print the answers\n"
    "  listen               only print the notifications that arrive\n"
    "  stop                 tell the calendar to stop taking commands (KCAN)\n"
    "\n"
    "options:\n"
    "  --port P         the calendar's control port (default 22137)\n"
    "  --listen Q       the port notifications arrive on (default 22138)\n"
    "  --timeout MS     how long to print notifications (default 1000)\n"
    "  --expect-reply   fail (exit 1) when no notification arrives before the time-out; the only\n"
    "                   way to know a calendar took the command, as nothing answers a datagram\n"
    "  --version        print the version and the build\n"
    "  --               the words after it are the command's, even those starting with --\n"
    "\n"
    "The calendar's commands (send NAME ARG...) and what it answers:\n"
    "  Initialize                          -> OnInitialized:CALENDAR;VIEW;DATE\n"
    "  RegisterCalendar NAME               -> OnCalendarRegistered:NAME (a new name only)\n"
    "  RegisterFactory KINDS               -> OnFactoryRegistered:KINDS\n"
    "  SetCurrentCalendar NAME             -> OnCalendarChanged:NAME\n"
    "  SetCurrentView Daily|Weekly|Monthly|Quarterly\n"
    "                                      -> OnViewChanged:VIEW\n"
    "  SetCurrentDate DATE                 -> OnDateChanged:DATE\n"
    "  ShowCalendar CALENDAR VIEW [DATE]   -> shows the window; the changes above\n"
    "  AddActivity ID CATEGORY NAME START END ICON CHANGEABLE FLAG\n"
    "                                      -> OnActivityAdded:ID\n"
    "  UpdateActivity ID CATEGORY NAME START END ICON CHANGEABLE FLAG\n"
    "                                      -> OnActivityUpdated:ID\n"
    "  DeleteActivity ID                   -> OnActivityDeleted:ID\n"
    "  DeleteAllActivities                 -> OnAllActivitiesDeleted\n"
    "  CloseCalendar                       -> the calendar ends: OnCalendarClose\n"
    "  Uninitialize                        -> nothing\n"
    "Dates are the device's (3/4/2026 9:00:00 AM); CHANGEABLE and FLAG are 1 or 0.\n"
    "Notifications the user's actions send: OnShowClient, OnCalendarClose, OnViewChanged,\n"
    "OnDateChanged, OnCalendarChanged, OnRequestAddActivity:START;END;KIND,\n"
    "OnRequestChangeActivity:ID;START;END.\n"
    "\n"
    "Every notification that arrives before the time-out is printed on a line of its own, as\n"
    "received. A message, NAME with its quoted arguments or TEXT, has at most 497 characters.\n"
    "Exit status: 0 done, 1 the socket failed or (--expect-reply) no answer came, 2 bad\n"
    "arguments or a message too long.\n";

struct Options {
    std::uint16_t controlPort = 22137;
    std::uint16_t listenPort = 22138;
    long timeoutMs = 1000;
    bool expectReply = false;
    bool version = false;
    std::string command;
    std::vector<std::string> arguments;
};

int badArguments(const std::string& message)
{
    std::fprintf(stderr, "tavrelctl: %s (see --help)\n", message.c_str());
    return 2;
}

template <typename Number>
std::optional<Number> parseNumber(const std::string& text, Number lowest, Number highest)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < lowest || value > highest)
        return std::nullopt;
    return Number(value);
}

// 0 when parsed; otherwise the exit code.
int parseOptions(int argc, char** argv, Options& options, bool& help)
{
    std::optional<std::string> port, listen, timeout;
    std::vector<std::string> words;
    device::CommandLineParser parser("tavrelctl");
    parser.value("--port", &port)
        .value("--listen", &listen)
        .value("--timeout", &timeout)
        .flag("--expect-reply", &options.expectReply)
        .words(&words);
    const device::CommandLineParser::Outcome outcome = parser.parse(std::vector<std::string>(argv + 1, argv + argc));
    if (outcome.failed()) {
        std::fprintf(stderr, "tavrelctl: %s\n", outcome.error.c_str());
        return 2;
    }
    help = outcome.request == device::CommandLineParser::Request::Help;
    options.version = outcome.request == device::CommandLineParser::Request::Version;
    if (help || options.version)
        return 0;
    for (auto [name, text, target] : {std::tuple {"--port", &port, &options.controlPort},
                                      std::tuple {"--listen", &listen, &options.listenPort}}) {
        if (!*text)
            continue;
        std::optional<std::uint16_t> number = parseNumber<std::uint16_t>(**text, 1, 65535);
        if (!number)
            return badArguments(std::string(name) + " takes a port from 1 to 65535, not '" + **text + "'");
        *target = *number;
    }
    if (timeout) {
        std::optional<long> number = parseNumber<long>(*timeout, 0, 3'600'000);
        if (!number)
            return badArguments("--timeout takes milliseconds from 0 to 3600000, not '" + *timeout + "'");
        options.timeoutMs = *number;
    }
    if (words.empty())
        return badArguments("no command given");
    options.command = words.front();
    options.arguments.assign(words.begin() + 1, words.end());

    if (options.command == "send") {
        if (options.arguments.empty())
            return badArguments("send needs a command name");
    } else if (options.command == "raw") {
        if (options.arguments.size() != 1)
            return badArguments("raw takes exactly one text");
    } else if (options.command == "listen" || options.command == "stop") {
        if (!options.arguments.empty())
            return badArguments(options.command + " takes no arguments, not '" + options.arguments.front() + "'");
        if (options.command == "stop" && options.expectReply)
            return badArguments("stop has no reply to expect");
    } else {
        return badArguments("unknown command '" + options.command + "'");
    }
    return 0;
}

CQoString wide(const std::string& text)
{
    return CQoString(device::fromUtf8(text).c_str());
}

CQoString messageText(const Options& options)
{
    if (options.command == "raw")
        return wide(options.arguments[0]);
    std::vector<CQoString> arguments;
    for (std::size_t i = 1; i < options.arguments.size(); ++i)
        arguments.push_back(wide(options.arguments[i]));
    const CQoString name = wide(options.arguments[0]);
    return CTavrelControlMessage::Compose(name.GetString(), arguments);
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "tavrelctl: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    bool help = false;
    if (int code = parseOptions(argc, argv, options, help))
        return code;
    if (help) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("%s\n", device::CommandLineParser::versionText().c_str());
        return 0;
    }
    if (!net::startupSocketLayer())
        return fail("the socket layer cannot be started");

    const bool sends = options.command == "send" || options.command == "raw";
    const CQoString message = sends ? messageText(options) : CQoString();
    // Checked before anything is sent: one datagram carries at most this much, for every peer.
    if (message.GetLength() > CTavrelDatagram::MaxMessageLength)
        return badArguments("the message is " + std::to_string(message.GetLength())
                            + " characters long; one datagram carries at most "
                            + std::to_string(CTavrelDatagram::MaxMessageLength));

    // "stop" waits for no answer, so it needs no particular port of its own.
    ControlClient client(options.controlPort, options.command == "stop" ? 0 : options.listenPort);
    if (!client.open())
        return fail(client.errorText());
    if (options.command == "stop")
        return client.sendStop() ? 0 : fail(client.errorText());
    if (sends && !client.sendMessage(message))
        return fail(client.errorText());
    bool answered = false;
    client.receiveUntil(
        std::chrono::milliseconds(options.timeoutMs),
        [&answered](const CQoString& text) {
            answered = true;
            const std::string line = device::toUtf8(text.View());
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
            std::fflush(stdout);
        },
        [](std::size_t size) {
            std::fprintf(stderr, "tavrelctl: a datagram of %zu bytes was longer than %zu and was dropped\n", size,
                         CTavrelDatagram::ReceiveBufferSize);
        });
    // A datagram to a port nobody listens on is lost without a word; only an answer tells.
    if (options.expectReply && !answered)
        return fail("no answer on port " + std::to_string(options.listenPort) + " within "
                    + std::to_string(options.timeoutMs) + " ms (is the calendar running on port "
                    + std::to_string(options.controlPort) + "?)");
    return 0;
}
