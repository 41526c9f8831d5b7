// tavrelctl against a stand-in calendar: a socket on a free port that reads what the tool sends
// and answers with notifications, as the calendar does.

#include "platform/net/UdpSocket.h"
#include "protocol/TavrelDatagram.h"

#include "BackgroundProgram.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using testing_support::BackgroundProgram;

// A port that was free a moment ago.
std::uint16_t freePort()
{
    net::UdpSocket probe;
    EXPECT_TRUE(probe.open(0));
    return probe.localPort();
}

class TavrelCtlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(calendar.open(0));
        listenPort = freePort();
    }

    std::vector<std::string> Options(long timeoutMs = 600)
    {
        return {"--port", std::to_string(calendar.localPort()), "--listen", std::to_string(listenPort), "--timeout",
                std::to_string(timeoutMs)};
    }

    // The next datagram the tool sends, decoded; "(nothing)" when none comes.
    std::string ReceiveCommand(CTavrelDatagram::Kind* kind = nullptr)
    {
        std::vector<std::uint8_t> buffer(CTavrelDatagram::ReceiveBufferSize);
        net::UdpSocket::Received got = calendar.receive(buffer.data(), buffer.size(), 5s);
        if (got.status != net::UdpSocket::Status::Received)
            return "(nothing)";
        CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(buffer.data(), got.size);
        if (kind)
            *kind = decoded.kind;
        return device::toUtf8(CTavrelDatagram::PayloadText(decoded.payload).View());
    }

    void Notify(const char16_t* text)
    {
        CTavrelDatagram::Bytes datagram = *CTavrelDatagram::Encode(text);
        ASSERT_TRUE(calendar.sendTo(listenPort, datagram.data(), datagram.size()));
    }

    net::UdpSocket calendar;
    std::uint16_t listenPort = 0;
};

TEST_F(TavrelCtlTest, SendQuotesEachArgumentAndPrintsEveryAnswerAsReceived)
{
    std::vector<std::string> args = Options();
    for (const char* arg : {"send", "ShowCalendar", "My \"Projects\"", "", "Monthly"})
        args.emplace_back(arg);
    BackgroundProgram tool("tavrelctl", args);
    ASSERT_TRUE(tool.started());
    EXPECT_EQ(ReceiveCommand(), "ShowCalendar:\"My %22Projects%22\";\"\";\"Monthly\"");
    Notify(u"OnCalendarChanged:\"My %22Projects%22\"");
    Notify(u"OnViewChanged:Monthly");
    Notify(u"OnDateChanged:\"3/4/2026\" \u00E9");
    ASSERT_EQ(tool.waitFor(5s), std::optional<int>(0)) << tool.err();
    EXPECT_EQ(tool.out(), "OnCalendarChanged:\"My %22Projects%22\"\nOnViewChanged:Monthly\nOnDateChanged:\"3/4/2026\" \xC3\xA9\n");
}

TEST_F(TavrelCtlTest, SendWithoutArgumentsSendsTheNameAlone)
{
    std::vector<std::string> args = Options(200);
    args.insert(args.end(), {"send", "Initialize"});
    BackgroundProgram tool("tavrelctl", args);
    EXPECT_EQ(ReceiveCommand(), "Initialize");
    ASSERT_EQ(tool.waitFor(5s), std::optional<int>(0));
    EXPECT_EQ(tool.out(), "");
}

TEST_F(TavrelCtlTest, RawSendsTheTextUnchangedAndStopSendsTheStopTag)
{
    std::vector<std::string> args = Options(200);
    args.insert(args.end(), {"raw", "SetCurrentView:Daily"});
    BackgroundProgram raw("tavrelctl", args);
    EXPECT_EQ(ReceiveCommand(), "SetCurrentView:Daily");
    EXPECT_EQ(raw.waitFor(5s), std::optional<int>(0));

    BackgroundProgram stop("tavrelctl", {"--port", std::to_string(calendar.localPort()), "stop"});
    CTavrelDatagram::Kind kind = CTavrelDatagram::Kind::Ignored;
    ReceiveCommand(&kind);
    EXPECT_EQ(kind, CTavrelDatagram::Kind::Stop);
    EXPECT_EQ(stop.waitFor(5s), std::optional<int>(0));
}

TEST_F(TavrelCtlTest, TheLongestMessageGoesOutWholeAndAPeersFullPayloadAreaIsHeard)
{
    std::vector<std::string> args = Options(800);
    args.insert(args.end(), {"raw", std::string(497, 'x')});
    BackgroundProgram tool("tavrelctl", args);
    ASSERT_TRUE(tool.started());
    EXPECT_EQ(ReceiveCommand(), std::string(497, 'x'));

    // A peer that fills its 1000-byte payload area sends 499 characters in 1016 bytes; anything
    // longer is no datagram of this protocol, and is dropped with a line.
    auto datagram = [](std::size_t characters) {
        const std::uint32_t payload = std::uint32_t((characters + 1) * 2);
        std::vector<std::uint8_t> out = {'E', 'L', 'I', 'F'};
        for (std::uint32_t value : {payload, payload + 16})
            for (int shift = 0; shift < 32; shift += 8)
                out.push_back(std::uint8_t(value >> shift));
        out.insert(out.end(), characters * 2, 0);
        for (std::size_t i = 0; i < characters; ++i)
            out[12 + 2 * i] = 'n';
        out.insert(out.end(), 6, 0);
        return out;
    };
    const std::vector<std::uint8_t> full = datagram(499), over = datagram(500);
    ASSERT_EQ(full.size(), 1016u);
    ASSERT_TRUE(calendar.sendTo(listenPort, full.data(), full.size()));
    ASSERT_TRUE(calendar.sendTo(listenPort, over.data(), over.size()));
    Notify(u"OnShowClient");
    ASSERT_EQ(tool.waitFor(5s), std::optional<int>(0)) << tool.err();
    EXPECT_EQ(tool.out(), std::string(499, 'n') + "\nOnShowClient\n");
    EXPECT_EQ(tool.err(), "tavrelctl: a datagram of 1018 bytes was longer than 1016 and was dropped\n");
}

TEST_F(TavrelCtlTest, ListenOnlyPrintsAndSkipsWhatIsNoMessage)
{
    std::vector<std::string> args = Options(800);
    args.push_back("listen");
    BackgroundProgram tool("tavrelctl", args);
    // Give it the time to bind its port.
    std::this_thread::sleep_for(300ms);
    CTavrelDatagram::Bytes stop = CTavrelDatagram::EncodeStop();
    calendar.sendTo(listenPort, stop.data(), stop.size());
    calendar.sendTo(listenPort, "junk", 4);
    Notify(u"OnShowClient");
    ASSERT_EQ(tool.waitFor(5s), std::optional<int>(0));
    EXPECT_EQ(tool.out(), "OnShowClient\n");
    // Nothing was sent to the calendar.
    std::vector<std::uint8_t> buffer(64);
    EXPECT_EQ(calendar.receive(buffer.data(), buffer.size(), 50ms).status, net::UdpSocket::Status::TimedOut);
}

TEST_F(TavrelCtlTest, ExpectReplyFailsWhenNothingAnswersAndSendHelpSendsNothing)
{
    // Nothing answers: without --expect-reply that is no failure, with it exit 1 and why.
    std::vector<std::string> args = Options(200);
    args.insert(args.end(), {"--expect-reply", "send", "CloseCalendar"});
    BackgroundProgram silent("tavrelctl", args);
    EXPECT_EQ(ReceiveCommand(), "CloseCalendar");
    ASSERT_EQ(silent.waitFor(5s), std::optional<int>(1));
    EXPECT_NE(silent.err().find("no answer"), std::string::npos) << silent.err();

    args = Options(1500);
    args.insert(args.end(), {"send", "Initialize", "--expect-reply"});
    BackgroundProgram answered("tavrelctl", args);
    EXPECT_EQ(ReceiveCommand(), "Initialize");
    Notify(u"OnInitialized:\"<Personal>\";\"Monthly\";\"12/8/2026\"");
    ASSERT_EQ(answered.waitFor(5s), std::optional<int>(0)) << answered.err();
    EXPECT_EQ(answered.out(), "OnInitialized:\"<Personal>\";\"Monthly\";\"12/8/2026\"\n");

    // "send --help" asks tavrelctl, not the calendar; "--" sends a word that looks like an option.
    args = Options(200);
    args.insert(args.end(), {"send", "--help"});
    testing_support::ToolRun help = testing_support::runProgram("tavrelctl", args);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: tavrelctl"), std::string::npos);
    EXPECT_EQ(ReceiveCommand(), "(nothing)");
    args = Options(200);
    args.insert(args.end(), {"send", "--", "SetCurrentView", "--weekly"});
    BackgroundProgram dashed("tavrelctl", args);
    EXPECT_EQ(ReceiveCommand(), "SetCurrentView:\"--weekly\"");
    EXPECT_EQ(dashed.waitFor(5s), std::optional<int>(0)) << dashed.err();
}

TEST(TavrelCtlArgumentsTest, BadArgumentsExitTwoWithOneLine)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"send"},
        {"raw"},
        {"raw", "a", "b"},
        {"listen", "extra"},
        {"frobnicate"},
        {"--port", "0", "listen"},
        {"--port", "70000", "listen"},
        {"--listen", "x", "listen"},
        {"--timeout", "-5", "listen"},
        {"--timeout"},
        {"--verbose", "listen"},
        {"--expect-reply=yes", "listen"},
        {"--expect-reply", "stop"},
        {"--port", "1", "--port", "2", "listen"},
    };
    for (const auto& args : cases) {
        testing_support::ToolRun run = testing_support::runProgram("tavrelctl", args);
        std::string joined;
        for (const auto& arg : args)
            joined += arg + " ";
        EXPECT_EQ(run.exitCode, 2) << joined;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << joined << run.err;
        EXPECT_EQ(run.err.rfind("tavrelctl: ", 0), 0u) << joined;
        EXPECT_TRUE(run.out.empty()) << joined;
    }
}

TEST(TavrelCtlArgumentsTest, HelpAndATooLongMessage)
{
    testing_support::ToolRun help = testing_support::runProgram("tavrelctl", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("usage: tavrelctl"), std::string::npos);
    // The calendar's commands with their arguments, and what they answer.
    for (const char* expected : {"AddActivity ID CATEGORY NAME START END ICON CHANGEABLE FLAG", "OnActivityAdded:ID",
                                 "SetCurrentView Daily|Weekly|Monthly|Quarterly", "OnRequestAddActivity", "--expect-reply"})
        EXPECT_NE(help.out.find(expected), std::string::npos) << expected;
    testing_support::ToolRun version = testing_support::runProgram("tavrelctl", {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("Tavrel 3.41 (build ", 0), 0u) << version.out;
    EXPECT_NE(help.out.find("at most " + std::to_string(CTavrelDatagram::MaxMessageLength) + " characters"),
              std::string::npos);

    net::UdpSocket calendar;
    ASSERT_TRUE(calendar.open(0));
    const std::vector<std::string> ports
        = {"--port", std::to_string(calendar.localPort()), "--listen", std::to_string(freePort()), "--timeout", "0"};
    // One character over, either way of writing it: refused before anything is sent.
    std::vector<std::string> raw = ports;
    raw.insert(raw.end(), {"raw", std::string(498, 'x')});
    std::vector<std::string> send = ports;
    send.insert(send.end(), {"send", "RegisterCalendar", std::string(498 - 19, 'x')}); // RegisterCalendar:"…"
    for (const auto& args : {raw, send}) {
        testing_support::ToolRun tooLong = testing_support::runProgram("tavrelctl", args);
        EXPECT_EQ(tooLong.exitCode, 2);
        EXPECT_EQ(tooLong.err,
                  "tavrelctl: the message is 498 characters long; one datagram carries at most 497 (see "
                  "--help)\n");
        EXPECT_TRUE(tooLong.out.empty());
    }
    std::vector<std::uint8_t> buffer(2048);
    EXPECT_EQ(calendar.receive(buffer.data(), buffer.size(), 50ms).status, net::UdpSocket::Status::TimedOut);
}

TEST(TavrelCtlArgumentsTest, ListenPortInUseIsAnError)
{
    net::UdpSocket holder;
    ASSERT_TRUE(holder.open(0));
    testing_support::ToolRun run = testing_support::runProgram(
        "tavrelctl", {"--port", "40000", "--listen", std::to_string(holder.localPort()), "listen"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot listen on port"), std::string::npos) << run.err;
}

} // namespace
