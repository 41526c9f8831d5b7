// tavrelctl: drives a running calendar through its control protocol, the way a control
// application on the device does, and prints what the calendar answers.

#include "ControlClient.h"

#include "platform/device/WideText.h"
#include "platform/net/SocketLayer.h"
#include "protocol/TavrelControlMessage.h"
#include "protocol/TavrelDatagram.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

const char usage[] =
    "usage: tavrelctl [--port P] [--listen Q] [--timeout MS] COMMAND\n"
    "\n"
    "commands:\n"
    "  send NAME [ARG...]   send NAME:\"ARG\";\"ARG\"... (each argument quoted), print the answers\n"
    "  raw TEXT             send TEXT as it stands, print the answers\n"
    "  listen               only print the notifications that arrive\n"
    "  stop                 tell the calendar to stop taking commands (KCAN)\n"
    "\n"
    "options:\n"
    "  --port P       the calendar's control port (default 22137)\n"
    "  --listen Q     the port notifications arrive on (default 22138)\n"
    "  --timeout MS   how long to print notifications (default 1000)\n"
    "\n"
    "Every notification that arrives before the time-out is printed on a line of its own, as\n"
    "received. A message, NAME with its quoted arguments or TEXT, has at most 497 characters.\n"
    "Exit status: 0 done, 1 the socket failed, 2 bad arguments or a message too long.\n";

struct Options {
    std::uint16_t controlPort = 22137;
    std::uint16_t listenPort = 22138;
    long timeoutMs = 1000;
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
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
            return 0;
        }
        if (arg.rfind("--", 0) != 0)
            break;
        std::string name = arg;
        std::string value;
        const std::size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        } else if (name == "--port" || name == "--listen" || name == "--timeout") {
            if (i + 1 >= argc)
                return badArguments(name + " needs a value");
            value = argv[++i];
        }
        if (name == "--port" || name == "--listen") {
            std::optional<std::uint16_t> port = parseNumber<std::uint16_t>(value, 1, 65535);
            if (!port)
                return badArguments(name + " takes a port from 1 to 65535, not '" + value + "'");
            (name == "--port" ? options.controlPort : options.listenPort) = *port;
        } else if (name == "--timeout") {
            std::optional<long> timeout = parseNumber<long>(value, 0, 3'600'000);
            if (!timeout)
                return badArguments("--timeout takes milliseconds from 0 to 3600000, not '" + value + "'");
            options.timeoutMs = *timeout;
        } else {
            return badArguments("unknown option " + name);
        }
    }
    if (i >= argc)
        return badArguments("no command given");
    options.command = argv[i++];
    for (; i < argc; ++i)
        options.arguments.emplace_back(argv[i]);
    // "send --help" asks for the usage rather than sending a command named "--help".
    if (!options.arguments.empty() && (options.arguments.front() == "--help" || options.arguments.front() == "-h")) {
        help = true;
        return 0;
    }

    if (options.command == "send") {
        if (options.arguments.empty())
            return badArguments("send needs a command name");
    } else if (options.command == "raw") {
        if (options.arguments.size() != 1)
            return badArguments("raw takes exactly one text");
    } else if (options.command == "listen" || options.command == "stop") {
        if (!options.arguments.empty())
            return badArguments(options.command + " takes no arguments");
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
    client.receiveUntil(
        std::chrono::milliseconds(options.timeoutMs),
        [](const CQoString& text) {
            const std::string line = device::toUtf8(text.View());
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
            std::fflush(stdout);
        },
        [](std::size_t size) {
            std::fprintf(stderr, "tavrelctl: a datagram of %zu bytes was longer than %zu and was dropped\n", size,
                         CTavrelDatagram::ReceiveBufferSize);
        });
    return 0;
}
