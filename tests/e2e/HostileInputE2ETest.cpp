// The real calendar against what hostile input found: FIFOs where its files should be, picture
// bombs in its skin and rules, and the ways of stopping it from outside. Each run is bounded: a
// calendar that hangs fails the test instead of holding it up.

#include "platform/net/UdpSocket.h"

#include "BackgroundProgram.h"
#include "ControlDatagram.h"
#include "TempDevice.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing_support::BackgroundProgram;

constexpr const char* PinnedClock = "TAVREL_CLOCK=2026-03-04T08:00:00";

std::uint16_t freePort()
{
    net::UdpSocket probe;
    EXPECT_TRUE(probe.open(0));
    return probe.localPort();
}

// The text of a notification (the layout itself is checked by the control tests).
std::string notificationText(const std::vector<std::uint8_t>& bytes, std::size_t size)
{
    std::string text;
    for (std::size_t at = 12; at + 1 < size; at += 2) {
        const char16_t unit = char16_t(bytes[at] | bytes[at + 1] << 8);
        if (unit == 0)
            break;
        text.push_back(unit < 0x80 ? char(unit) : '?');
    }
    return text;
}

class HostileInputE2ETest : public ::testing::Test {
protected:
    // The calendar, headless, on free ports; notifications come to `peer`.
    std::unique_ptr<BackgroundProgram> StartCalendar(std::vector<std::string> extra)
    {
        EXPECT_TRUE(peer.open(0));
        controlPort = freePort();
        std::vector<std::string> args = {"--device", device.root().string(), "--headless", "--control-port",
                                         std::to_string(controlPort), "--notify-port", std::to_string(peer.localPort())};
        args.insert(args.end(), extra.begin(), extra.end());
        return std::make_unique<BackgroundProgram>("tavrel", args, std::vector<std::string>{PinnedClock});
    }

    void Send(const std::u16string& text)
    {
        const std::vector<std::uint8_t> bytes = testing_support::controlDatagram(text);
        ASSERT_TRUE(peer.sendTo(controlPort, bytes.data(), bytes.size()));
    }

    // Waits for a notification that starts with `prefix`; the others are passed over.
    bool WaitFor(const std::string& prefix, std::chrono::milliseconds timeout)
    {
        const Clock::time_point deadline = Clock::now() + timeout;
        std::vector<std::uint8_t> buffer(1012);
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            net::UdpSocket::Received got = peer.receive(buffer.data(), buffer.size(), left);
            if (got.status == net::UdpSocket::Status::TimedOut)
                return false;
            if (got.status == net::UdpSocket::Status::Received && notificationText(buffer, got.size).rfind(prefix, 0) == 0)
                return true;
        }
    }

    std::string RegistryValue(const std::string& name)
    {
        testing_support::ToolRun run =
            testing_support::runDeviceTool(device.root(), {"reg", "get", "HKCU", "Software\\Orvix\\Tavrel", name});
        return run.out;
    }

    testing_support::TempDevice device;
    net::UdpSocket peer;
    std::uint16_t controlPort = 0;
};

TEST_F(HostileInputE2ETest, SigtermAndSigintEndTheCalendarAsItsExitCommandDoes)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        for (bool scripted : {false, true}) {
            SCOPED_TRACE(scripted ? "under a script" : "in control mode");
            peer.close();
            std::vector<std::string> extra = {"TavrelControl"};
            if (scripted) {
                const std::filesystem::path script = device.root() / "long.txt";
                std::ofstream(script) << "wait 60000\n";
                extra = {"--script", script.string()};
            }
            std::unique_ptr<BackgroundProgram> calendar = StartCalendar(extra);
            ASSERT_TRUE(calendar->started());
            ASSERT_TRUE(WaitFor("OnInitialized:", 60s)) << calendar->err();
            Send(u"RegisterCalendar:\"Projects\"");
            ASSERT_TRUE(WaitFor("OnCalendarRegistered:", 20s)) << calendar->err();
            // Someone else writes the setting meanwhile; the orderly end writes the current
            // calendar back, a killed program would leave it so.
            ASSERT_EQ(testing_support::runDeviceTool(device.root(), {"reg", "set", "HKCU", "Software\\Orvix\\Tavrel",
                                                                     "CurrentCalendar", "sz", "Elsewhere"})
                          .exitCode,
                      0);

            ASSERT_EQ(::kill(calendar->pid(), signal), 0);
            EXPECT_TRUE(WaitFor("OnCalendarClose", 20s)) << "the control application hears the end\n" << calendar->err();
            EXPECT_EQ(calendar->waitFor(20s), std::optional<int>(0)) << calendar->err();
            EXPECT_NE(RegistryValue("CurrentCalendar").find("Projects"), std::string::npos)
                << RegistryValue("CurrentCalendar");
        }
    }
}

TEST_F(HostileInputE2ETest, FifosWhereTheCalendarReadsFilesNeverHoldItUp)
{
    // A skin whose background, day bar and month title are FIFOs, a FIFO as the rules file and as
    // its backup, and a FIFO as an icon the rules name.
    const std::filesystem::path documents = device.host("My Documents");
    std::filesystem::create_directories(documents / "Skin");
    for (const char* name : {"Tavrel.Rules", "Tavrel.BAK", "Skin/Back.jpg", "Skin/Bar.gif", "Skin/Title.gif"})
        ASSERT_EQ(::mkfifo((documents / name).c_str(), 0644), 0) << name;
    for (const auto& [value, path] : std::vector<std::pair<std::string, std::string>>{
             {"Background3", "\\My Documents\\Skin\\Back.jpg"},
             {"DayBar3", "\\My Documents\\Skin\\Bar.gif"},
             {"March", "\\My Documents\\Skin\\Title.gif"},
             {"Initialized", ""}}) {
        std::vector<std::string> args = {"reg", "set", "HKCU", "Software\\Orvix\\Tavrel", value};
        if (path.empty())
            args.insert(args.end(), {"dword", "0"});
        else
            args.insert(args.end(), {"sz", path});
        ASSERT_EQ(testing_support::runDeviceTool(device.root(), args).exitCode, 0) << value;
    }

    const std::filesystem::path shot = device.root() / "shot.png";
    std::unique_ptr<BackgroundProgram> calendar = StartCalendar({"--snapshot", shot.string()});
    ASSERT_TRUE(calendar->started());
    EXPECT_EQ(calendar->waitFor(60s), std::optional<int>(0)) << calendar->err();
    EXPECT_TRUE(std::filesystem::exists(shot));
    for (const char* name : {"Tavrel.Rules", "Tavrel.BAK"}) {
        struct stat info {};
        EXPECT_EQ(::lstat((documents / name).c_str(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << name << " is left as it is";
    }
    EXPECT_NE(calendar->err().find("message-box: Tavrel: There was an error recovering the rules file"),
              std::string::npos)
        << calendar->err();
}

} // namespace
