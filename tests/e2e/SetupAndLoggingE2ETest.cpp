// The setup library and QoLog Config as a user meets them, with the real programs on a throw-away
// device: tavrel-device installs and removes the package (calling libTavrelSetup.so), qolog-config
// switches the calendar's log with a script, and tavrel writes its log accordingly — from its next
// start, and while it runs.

#include "BackgroundProgram.h"
#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/net/UdpSocket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

namespace {

using testing_support::ToolRun;
using namespace std::chrono_literals;

constexpr const char* PinnedClock = "TAVREL_CLOCK=2026-12-08T15:45:00";

std::string Read(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::uint16_t FreePort()
{
    net::UdpSocket probe;
    EXPECT_TRUE(probe.open(0));
    return probe.localPort();
}

class SetupAndLoggingE2ETest : public ::testing::Test {
protected:
    SetupAndLoggingE2ETest()
    {
        ToolRun installed = Device({"install"});
        EXPECT_EQ(installed.exitCode, 0) << installed.err;
    }

    std::filesystem::path File(const std::string& name) const { return device.root() / name; }

    ToolRun Device(const std::vector<std::string>& args) const
    {
        std::vector<std::string> all = {"--device", device.root().string()};
        all.insert(all.end(), args.begin(), args.end());
        return testing_support::runProgram("tavrel-device", all, {PinnedClock});
    }

    // qolog-config, headless, with a script that sets the "Tavrel" box, dumps the dialog and
    // presses OK.
    ToolRun SwitchLogging(bool on, const std::string& dump) const
    {
        std::ofstream(File("qolog.txt")) << "check 1000 " << (on ? 1 : 0) << "\ndump " << File(dump).string()
                                          << "\npress OK\n";
        return testing_support::runProgram(
            "qolog-config", {"--device", device.root().string(), "--headless", "--script", File("qolog.txt").string()});
    }

    // The calendar, headless, until start-up has settled; its screen is written to a file.
    ToolRun Calendar() const
    {
        return testing_support::runProgram("tavrel",
                                           {"--device", device.root().string(), "--headless", "--snapshot",
                                            File("shot.png").string(), "--control-port", "0", "--notify-port",
                                            std::to_string(FreePort())},
                                           {PinnedClock});
    }

    testing_support::TempDevice device;
};

TEST_F(SetupAndLoggingE2ETest, RemovingThePackageAnsweringNoLeavesNothingOfTavrel)
{
    // The package as used: a pending start of the reminder program, the logging switches, the
    // calendar's settings and an icon rules file.
    ASSERT_EQ(Device({"reminder", "add", "A7", "--title", "Standup", "--category", "Meeting", "--start",
                      "12/9/2026 9:00 AM", "--end", "12/9/2026 9:30 AM", "--at", "12/9/2026 8:55 AM"})
                  .exitCode,
              0);
    EXPECT_NE(Device({"scheduler", "--list"}).out.find("TavrelReminder.Exe"), std::string::npos);
    ASSERT_EQ(SwitchLogging(true, "dump.txt").exitCode, 0);
    ASSERT_EQ(Calendar().exitCode, 0);
    std::ofstream(device.host("My Documents/Tavrel.Rules")) << "[Rules]\r\n";
    EXPECT_TRUE(std::filesystem::exists(device.host("Windows/TavrelToday.DLL")));
    EXPECT_NE(Device({"reg", "export"}).out.find("Today\\Items\\Tavrel]"), std::string::npos);

    ToolRun removal = Device({"uninstall", "--answer", "no"});
    ASSERT_EQ(removal.exitCode, 0) << removal.err;
    EXPECT_NE(removal.err.find("message-box: Tavrel Setup: Do you want to leave your Icon Rules file and other "
                               "Tavrel settings on your device?"),
              std::string::npos)
        << removal.err;

    EXPECT_EQ(Device({"scheduler", "--list"}).out, "");
    const std::string registry = Device({"reg", "export"}).out;
    EXPECT_EQ(Lower(registry).find("tavrel"), std::string::npos) << registry;
    EXPECT_EQ(registry.find("Orvix"), std::string::npos) << registry;
    // Every file of the package, of the setup and of the calendar's use is gone but its log, which
    // lives in the device's root and was never the package's.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(device.fs())) {
        const std::string path = entry.path().lexically_relative(device.fs()).string();
        if (Lower(path).find("tavrel") != std::string::npos)
            left.push_back(path);
    }
    EXPECT_EQ(left, std::vector<std::string> {"Tavrel_log.txt"});
    EXPECT_FALSE(std::filesystem::exists(device.host("Windows/Start Menu/Programs/QoLog Config.lnk")));
    EXPECT_EQ(Read(device.root() / "programs.txt").find("\\"), std::string::npos) << "no program is left";
}

TEST_F(SetupAndLoggingE2ETest, QoLogConfigSwitchesTheCalendarsLogOnForItsNextStartAndOffAgain)
{
    ASSERT_EQ(Device({"pim", "add", "--subject", "Dentist", "--start", "12/8/2026 3:00 PM", "--end",
                      "12/8/2026 4:00 PM"})
                  .exitCode,
              0);
    ToolRun on = SwitchLogging(true, "on.txt");
    ASSERT_EQ(on.exitCode, 0) << on.err;
    EXPECT_NE(Read(File("on.txt")).find("window dialog id=102 ok=1 icon=32x32 small-icon=32x32 text=\"QoLog Config\"\n"
                                        "control 1000 checkbox shown=1 enabled=1 focused=1 checked=1 "),
              std::string::npos)
        << Read(File("on.txt"));
    EXPECT_NE(Device({"reg", "export", "HKLM", "Software\\Orvix\\QoLog"}).out.find("\"Tavrel\"=dword:00000001"),
              std::string::npos);

    ToolRun run = Calendar();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string log = Read(device.host("Tavrel_log.txt"));
    EXPECT_EQ(log.rfind("15:45:", 0), 0u) << log;
    EXPECT_NE(log.find(" : =============================================\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" : Log is started on 08.12.2026, at 15:45:"), std::string::npos) << log;
    EXPECT_NE(log.find("executable: \\Program Files\\Tavrel\\Tavrel.exe (ProcID: 0x"), std::string::npos) << log;
    EXPECT_NE(log.find(" : CTavrelApp() Constructor\n\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" : CTavrelEvents::AddEvent(Start='12/8/2026 3:00:00 PM', End='12/8/2026 4:00:00 PM'"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find(" : CTavrelApp() Destructor\n\r\n"), std::string::npos) << log;

    // Off again: the next start writes no log.
    ASSERT_EQ(SwitchLogging(false, "off.txt").exitCode, 0);
    std::filesystem::remove(device.host("Tavrel_log.txt"));
    ASSERT_EQ(Calendar().exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(device.host("Tavrel_log.txt")));
}

TEST_F(SetupAndLoggingE2ETest, ARunningCalendarStartsItsLogAtItsNextTraceAfterOk)
{
    ASSERT_EQ(Device({"pim", "add", "--subject", "Dentist", "--start", "12/8/2026 3:00 PM", "--end",
                      "12/8/2026 4:00 PM"})
                  .exitCode,
              0);
    const std::uint16_t controlPort = FreePort();
    const std::uint16_t notifyPort = FreePort();
    testing_support::BackgroundProgram calendar(
        "tavrel",
        {"--device", device.root().string(), "--headless", "--control-port", std::to_string(controlPort),
         "--notify-port", std::to_string(notifyPort)},
        {PinnedClock});
    ASSERT_TRUE(calendar.started());
    const std::vector<std::string> ports
        = {"--port", std::to_string(controlPort), "--listen", std::to_string(notifyPort)};
    auto send = [&](const std::string& command) {
        std::vector<std::string> args = ports;
        args.insert(args.end(), {"--timeout", "1000", "send", command});
        return testing_support::runProgram("tavrelctl", args).out;
    };
    std::string answer;
    for (int attempt = 0; attempt < 60 && answer.empty() && calendar.running(); ++attempt)
        answer = send("Initialize");
    ASSERT_FALSE(answer.empty()) << calendar.err();
    EXPECT_FALSE(std::filesystem::exists(device.host("Tavrel_log.txt"))) << "logging is off";

    ASSERT_EQ(SwitchLogging(true, "on.txt").exitCode, 0);
    // The reader traces every event it adds; its next pass starts the log.
    std::string log;
    for (int i = 0; i < 300 && log.find("AddEvent") == std::string::npos; ++i) {
        std::this_thread::sleep_for(100ms);
        log = Read(device.host("Tavrel_log.txt"));
    }
    EXPECT_NE(log.find(" : CTavrelEvents::AddEvent(Start='12/8/2026 3:00:00 PM'"), std::string::npos) << log;

    send("CloseCalendar");
    EXPECT_EQ(calendar.waitFor(30s), 0) << calendar.err();
    log = Read(device.host("Tavrel_log.txt"));
    EXPECT_NE(log.find(" : Log is started on "), std::string::npos) << log;
    EXPECT_EQ(log.find("CTavrelApp() Constructor"), std::string::npos) << "it started with logging off";
    EXPECT_NE(log.find(" : CTavrelApp() Destructor\n\r\n"), std::string::npos) << log;
}

TEST(QoLogConfigProgramTest, HelpAndBadArgumentsTouchNoDevice)
{
    testing_support::TempDevice device;
    const std::filesystem::path untouched = device.root() / "untouched";
    ToolRun help = testing_support::runProgram("qolog-config", {"--device", untouched.string(), "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: qolog-config", 0), 0u) << help.out;
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>> {
             {"--headless"}, {"--zoom", "0"}, {"--script"}, {"Tavrel"}}) {
        std::vector<std::string> args = {"--device", untouched.string()};
        args.insert(args.end(), bad.begin(), bad.end());
        ToolRun refused = testing_support::runProgram("qolog-config", args);
        EXPECT_EQ(refused.exitCode, 2) << bad.front();
        EXPECT_EQ(refused.err.rfind("qolog-config: ", 0), 0u) << refused.err;
    }
    std::ofstream(device.root() / "bad.txt") << "flip 1000\n";
    ToolRun badScript = testing_support::runProgram(
        "qolog-config", {"--device", untouched.string(), "--headless", "--script", (device.root() / "bad.txt").string()});
    EXPECT_EQ(badScript.exitCode, 2) << badScript.err;
    EXPECT_FALSE(std::filesystem::exists(untouched)) << "nothing ran, nothing was created";
}

} // namespace
