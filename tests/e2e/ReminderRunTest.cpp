// The reminder program as a user meets it: reminders written with tavrel-device, the device's
// scheduler starting tavrel-reminder headless when they fall due, the dialog driven by a script,
// and a stand-in partner program in the program table that records how it was started.
//
// The script drives the dialog as a person would: it presses the buttons, picks the snooze
// duration from the drop-down list and reads the dialog back as text with dump.

#include "BackgroundProgram.h"
#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/device/ProgramTable.h"
#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

namespace {

using testing_support::ToolRun;
using namespace std::chrono_literals;

constexpr const char16_t* ReminderProgram = u"\\Program Files\\Tavrel\\TavrelReminder.Exe";
constexpr const char16_t* PartnerProgram = u"\\Program Files\\Varnow\\Varnow.EXE";
constexpr gfx::Colour Highlight = gfx::rgb(0, 51, 153);

// The reminder dialog's controls.
constexpr int ViewChange = 1002;
constexpr int ClearAlarm = 1003;
constexpr int Snooze = 1005;

// The lines of a script for the reminder dialog.
class ReminderScript {
public:
    ReminderScript& Idle() { return Add("idle"); }
    ReminderScript& Snap(const std::filesystem::path& file) { return Add("snap " + file.string()); }
    ReminderScript& Dump(const std::filesystem::path& file) { return Add("dump " + file.string()); }
    ReminderScript& Press(int id) { return Add("press " + std::to_string(id)); }
    ReminderScript& ChooseDuration(const std::string& text) { return Add("select 1004 " + text); }
    const std::string& Text() const { return m_text; }

private:
    ReminderScript& Add(const std::string& line)
    {
        m_text += line + "\n";
        return *this;
    }
    std::string m_text;
};

class ReminderRunTest : public ::testing::Test {
protected:
    ReminderRunTest()
    {
        EXPECT_EQ(Device({"install"}).exitCode, 0);
        // The package's reminder program is the host's tavrel-reminder.
        const std::optional<std::filesystem::path> installed = device::ProgramTable::find(ReminderProgram);
        EXPECT_TRUE(
            installed && std::filesystem::equivalent(*installed, testing_support::programPath("tavrel-reminder")));
        // The reminder program runs headless with the test's script, and says when it has ended.
        const std::filesystem::path wrapper = File("reminder.sh");
        std::ofstream(wrapper) << "#!/bin/sh\n'" << testing_support::programPath("tavrel-reminder").string()
                               << "' \"$@\" --headless --script '" << File("script.txt").string() << "' 2>>'"
                               << File("reminder-err.txt").string() << "'\necho $? >'"
                               << File("reminder-exit.txt").string() << "'\n";
        std::filesystem::permissions(wrapper, std::filesystem::perms::owner_all);
        EXPECT_TRUE(device::ProgramTable::set(ReminderProgram, wrapper));
        // The partner program records every start.
        const std::filesystem::path partner = File("varnow.sh");
        std::ofstream(partner) << "#!/bin/sh\necho \"$*\" >>'" << File("partner.txt").string() << "'\n";
        std::filesystem::permissions(partner, std::filesystem::perms::owner_all);
        EXPECT_TRUE(device::ProgramTable::set(PartnerProgram, partner));
        EXPECT_EQ(Device({"reg", "set", "HKLM", "Software\\Apps\\Brelle tools Varnow", "InstallDir", "sz",
                             "\\Program Files\\Varnow"})
                      .exitCode,
            0);
    }

    std::filesystem::path File(const std::string& name) const { return device.root() / name; }

    static std::string Read(const std::filesystem::path& file)
    {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    ToolRun Device(const std::vector<std::string>& args, const std::string& clock = "2026-12-08T08:50:00") const
    {
        std::vector<std::string> all = {"--device", device.root().string()};
        all.insert(all.end(), args.begin(), args.end());
        return testing_support::runProgram("tavrel-device", all, {"TAVREL_CLOCK=" + clock});
    }

    // Sets the script of the reminder program's next run and forgets the last run's output.
    void NextRun(const ReminderScript& script) const
    {
        std::ofstream(File("script.txt")) << script.Text();
        std::filesystem::remove(File("reminder-err.txt"));
        std::filesystem::remove(File("reminder-exit.txt"));
    }

    // The exit code of the reminder program's run, once it has ended.
    std::string WaitForTheReminderProgram() const
    {
        for (int i = 0; i < 6000 && Read(File("reminder-exit.txt")).empty(); ++i)
            std::this_thread::sleep_for(10ms);
        return Read(File("reminder-exit.txt"));
    }

    static int Count(const std::string& text, const std::string& what)
    {
        int count = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++count;
        return count;
    }

    testing_support::TempDevice device;
};

TEST_F(ReminderRunTest, TheSchedulerBringsUpTheDueRemindersWhichTheUserSnoozesDismissesAndOpens)
{
    ASSERT_EQ(Device({"reminder", "add", "A7", "--title", "Standup", "--category", "Meeting", "--start",
                         "12/8/2026 9:00 AM", "--end", "12/8/2026 9:30 AM", "--at", "12/8/2026 9:00 AM"})
                  .exitCode,
        0);
    ASSERT_EQ(
        Device({"reminder", "add", "B2", "--title", "Call Bob", "--category", "Call", "--at", "12/8/2026 9:00 AM"})
            .exitCode,
        0);
    EXPECT_EQ(
        Device({"scheduler", "--list"}).out, "\\Program Files\\Tavrel\\TavrelReminder.Exe\t12/8/2026 9:00:00 AM\n");

    // The dialog lists both. The first is snoozed for an hour, the second dismissed; then nothing
    // is left and the dialog closes itself.
    NextRun(ReminderScript()
                .Idle()
                .Snap(File("dialog.png"))
                .Dump(File("dialog.txt"))
                .ChooseDuration("1 hr")
                .Press(Snooze)
                .Idle()
                .Press(ClearAlarm)
                .Idle());
    {
        // The scheduler runs as a service does; the device clock reaches 9:00 two seconds in.
        testing_support::BackgroundProgram watch("tavrel-device",
            {"--device", device.root().string(), "scheduler", "--watch"}, {"TAVREL_CLOCK=2026-12-08T08:59:58"});
        ASSERT_TRUE(watch.started());
        EXPECT_EQ(WaitForTheReminderProgram(), "0\n") << Read(File("reminder-err.txt"));
        ::kill(watch.pid(), SIGTERM);
        EXPECT_EQ(watch.waitFor(5s), 0);
        EXPECT_EQ(
            Count(watch.out(), "started \\Program Files\\Tavrel\\TavrelReminder.Exe (due 12/8/2026 9:00:00 AM)"), 1)
            << watch.out();
    }
    const std::string err = Read(File("reminder-err.txt"));
    EXPECT_EQ(Count(err, "play-sound: \\Windows\\Alarm2.wav\n"), 1) << err;
    EXPECT_NE(err.find("reminder-due: A7: Meeting  12/8/2026 9:00 AM  Standup\n"), std::string::npos) << err;
    EXPECT_NE(err.find("reminder-due: B2: Call  12/8/2026 9:00 AM  Call Bob\n"), std::string::npos) << err;
    EXPECT_EQ(err.find("message-box:"), std::string::npos) << err;

    // The dialog as the script read it: both reminders listed, the first selected, "5 min" chosen.
    const std::string dump = Read(File("dialog.txt"));
    EXPECT_NE(dump.find("Varnow Reminder"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Meeting  12/8/2026 9:00 AM  Standup"), std::string::npos) << dump;
    EXPECT_NE(dump.find("Call  12/8/2026 9:00 AM  Call Bob"), std::string::npos) << dump;
    EXPECT_NE(dump.find("5 min"), std::string::npos) << dump;

    // What the dialog drew: the first block highlighted, the second below it.
    std::optional<gfx::Surface> dialog = gfx::ImageDecoder::decodeFile(File("dialog.png"));
    ASSERT_TRUE(dialog);
    int highlighted = 0;
    for (int y = 44; y < 120; ++y)
        for (int x = 0; x < 240; ++x)
            highlighted += dialog->pixel(x, y) == Highlight;
    EXPECT_GT(highlighted, 2000) << "the selected block";

    // The snoozed reminder stays an hour, the dismissed one is gone and the partner was told.
    const std::string list = Device({"reminder", "list"}, "2026-12-08T09:01:00").out;
    EXPECT_EQ(list.rfind("A7\tpending\t12/8/2026 9:00:00 AM\t12/8/2026 10:00:0", 0), 0u) << list;
    EXPECT_EQ(list.find("B2"), std::string::npos) << list;
    EXPECT_EQ(Device({"reg", "get", "HKCU", "Software\\Orvix\\Tavrel\\Reminder", "Dismissed"}).out, "B2\n");
    EXPECT_EQ(Read(File("partner.txt")), "--device " + device.root().string() + " /ifrunning /dismissactivity=B2\n");
    const std::string snoozedUntil = list.substr(list.find("10:00:0"), 8);
    EXPECT_EQ(Device({"scheduler", "--list"}).out,
        "\\Program Files\\Tavrel\\TavrelReminder.Exe\t12/8/2026 " + snoozedUntil + " AM\n");
    EXPECT_EQ(Device({"reg", "get", "HKCU", "Software\\Orvix\\Tavrel\\Reminder", "Next Reminder"}).out,
        "12/8/2026 " + snoozedUntil + " AM\n");

    // An hour later the snoozed reminder is back; "View / Change" opens it in the partner program
    // and brings it back 15 minutes later.
    NextRun(ReminderScript().Idle().Press(ViewChange).Idle());
    ToolRun scheduler = Device({"scheduler"}, "2026-12-08T10:00:30");
    EXPECT_EQ(scheduler.exitCode, 0) << scheduler.err;
    EXPECT_EQ(WaitForTheReminderProgram(), "0\n") << Read(File("reminder-err.txt"));
    EXPECT_EQ(Count(Read(File("reminder-err.txt")), "play-sound: "), 1);
    EXPECT_EQ(Read(File("partner.txt")),
        "--device " + device.root().string() + " /ifrunning /dismissactivity=B2\n" + "--device "
            + device.root().string() + " /openactivity=A7\n");
    EXPECT_NE(Device({"reminder", "list"}, "2026-12-08T10:01:00").out.find("A7\tdue"), std::string::npos)
        << "the reminder stays";
    EXPECT_EQ(
        Device({"scheduler", "--list"}).out.rfind("\\Program Files\\Tavrel\\TavrelReminder.Exe\t12/8/2026 10:15:3", 0),
        0u)
        << Device({"scheduler", "--list"}).out;
}

TEST_F(ReminderRunTest, ARunWithNothingDueOnlySchedulesTheNextAndEnds)
{
    ASSERT_EQ(Device({"reminder", "add", "A7", "--at", "12/9/2026 7:00 AM"}).exitCode, 0);
    ToolRun run = testing_support::runProgram(
        "tavrel-reminder", {"--device", device.root().string(), "AppRunAtTime"}, {"TAVREL_CLOCK=2026-12-08T09:00:00"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "") << "no window, no sound";
    EXPECT_EQ(
        Device({"scheduler", "--list"}).out, "\\Program Files\\Tavrel\\TavrelReminder.Exe\t12/9/2026 7:00:00 AM\n");
    EXPECT_EQ(Device({"reg", "get", "HKCU", "Software\\Orvix\\Tavrel\\Reminder", "Next Reminder"}).out,
        "12/9/2026 7:00:00 AM\n");

    ToolRun help = testing_support::runProgram("tavrel-reminder", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--script FILE"), std::string::npos);
    ToolRun bad = testing_support::runProgram("tavrel-reminder", {"--snapshot", "x.png"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err, "tavrel-reminder: unknown option --snapshot (try --help)\n");
}

} // namespace
