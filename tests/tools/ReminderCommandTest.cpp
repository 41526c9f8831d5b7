// tavrel-device reminder and scheduler, run as the real program on a throw-away device folder with
// the device clock at 8 December 2026, 9:00 AM.

#include "BackgroundProgram.h"
#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/device/ProgramTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <thread>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

const std::string ReminderProgram = "\\Program Files\\Tavrel\\TavrelReminder.Exe";
const std::string Store = "Software\\Orvix\\Tavrel\\Reminder";

class ReminderCommandTest : public ::testing::Test {
protected:
    ToolRun Tool(const std::vector<std::string>& args, const std::string& clock = "2026-12-08T09:00:00") const
    {
        std::vector<std::string> all = {"--device", device.root().string()};
        all.insert(all.end(), args.begin(), args.end());
        return runProgram("tavrel-device", all, {"TAVREL_CLOCK=" + clock});
    }

    // A host program that appends its arguments, one line a start, to `out`.
    std::filesystem::path Recorder(const std::string& name, const std::filesystem::path& out) const
    {
        const std::filesystem::path script = device.root() / name;
        std::ofstream(script) << "#!/bin/sh\necho \"$*\" >> '" << out.string() << "'\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        return script;
    }

    static std::string WaitForLines(const std::filesystem::path& file, int lines)
    {
        std::string text;
        for (int i = 0; i < 1000; ++i) {
            std::ifstream in(file);
            text.assign(std::istreambuf_iterator<char>(in), {});
            if (std::count(text.begin(), text.end(), '\n') >= lines)
                break;
            std::this_thread::sleep_for(10ms);
        }
        return text;
    }

    TempDevice device;
};

TEST_F(ReminderCommandTest, AddWritesTheStoresValuesAndMakesSureTheReminderProgramRuns)
{
    ToolRun add = Tool({"reminder", "add", "A7", "--title", "Standup", "--category", "Meeting", "--start",
        "Dec 8, 2026 9:30", "--end", "12/8/2026 10:00 AM", "--at", "12/8/2026 9:20 AM"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    EXPECT_EQ(add.out,
        "added reminder A7 due 12/8/2026 9:20:00 AM\n"
        "the reminder program runs at 12/8/2026 9:20:00 AM\n"
        "note: the reminder program is not installed on this device (tavrel-device install)\n");
    ToolRun values = Tool({"reg", "get", "HKCU", Store + "\\A7"});
    EXPECT_EQ(values.out,
        "Title=sz:Standup\nCategory=sz:Meeting\nStart=sz:12/8/2026 9:30:00 AM\n"
        "End=sz:12/8/2026 10:00:00 AM\nReminder=sz:12/8/2026 9:20:00 AM\n");

    // A later reminder leaves the earlier start; an earlier one moves it. Midnight is a date alone.
    ToolRun later = Tool({"reminder", "add", "B2", "--at", "12/9/2026"});
    ASSERT_EQ(later.exitCode, 0) << later.err;
    EXPECT_NE(later.out.find("runs at 12/8/2026 9:20:00 AM already"), std::string::npos) << later.out;
    EXPECT_EQ(Tool({"reg", "get", "HKCU", Store + "\\B2", "Reminder"}).out, "12/9/2026\n");
    EXPECT_EQ(Tool({"reg", "get", "HKCU", Store + "\\B2", "Start"}).out, "12/9/2026\n") << "--start defaults to --at";
    ASSERT_EQ(Tool({"reminder", "add", "C1", "--at", "12/8/2026 9:05 AM"}).exitCode, 0);
    EXPECT_EQ(Tool({"scheduler", "--list"}).out, ReminderProgram + "\t12/8/2026 9:05:00 AM\n");

    // Written again, a reminder loses its snooze.
    ASSERT_EQ(Tool({"reg", "set", "HKCU", Store + "\\A7", "Snooze Until", "sz", "12/8/2026 11:00:00 AM"}).exitCode, 0);
    ASSERT_EQ(Tool({"reminder", "add", "A7", "--at", "12/8/2026 9:20 AM"}).exitCode, 0);
    EXPECT_EQ(Tool({"reg", "get", "HKCU", Store + "\\A7", "Snooze Until"}).exitCode, 1);
}

TEST_F(ReminderCommandTest, ListShowsEachRemindersStateAndTheUnreadableOnes)
{
    ASSERT_EQ(
        Tool({"reminder", "add", "A7", "--title", "Standup", "--category", "Meeting", "--at", "12/8/2026 8:30 AM"})
            .exitCode,
        0);
    ASSERT_EQ(Tool({"reminder", "add", "B2", "--title", "Call\tBob", "--at", "12/8/2026 11:00 AM"}).exitCode, 0);
    ASSERT_EQ(Tool({"reminder", "add", "C3", "--at", "12/8/2026 8:00 AM"}).exitCode, 0);
    ASSERT_EQ(Tool({"reminder", "add", "D4", "--at", "12/8/2026 8:00 AM"}).exitCode, 0);
    ASSERT_EQ(Tool({"reg", "set", "HKCU", Store + "\\C3", "Reminder", "sz", "someday"}).exitCode, 0);
    ASSERT_EQ(Tool({"reg", "delete", "HKCU", Store + "\\D4", "Reminder"}).exitCode, 0);
    ASSERT_EQ(Tool({"reg", "set", "HKCU", Store + "\\B2", "Snooze Until", "sz", "12/8/2026 11:30:00 AM"}).exitCode, 0);
    ASSERT_EQ(Tool({"reg", "set", "HKCU", Store, "Dismissed", "sz", "X1,d4"}).exitCode, 0);

    ToolRun list = Tool({"reminder", "list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(list.out,
        "A7\tdue\t12/8/2026 8:30:00 AM\t\tMeeting\t12/8/2026 8:30:00 AM\t12/8/2026 8:30:00 AM\tStandup\n"
        "B2\tpending\t12/8/2026 11:00:00 AM\t12/8/2026 11:30:00 AM\t\t12/8/2026 11:00:00 AM\t"
        "12/8/2026 11:00:00 AM\tCall Bob\n"
        "C3\tunreadable\tsomeday\t\t\t12/8/2026 8:00:00 AM\t12/8/2026 8:00:00 AM\t\n"
        "D4\tdismissed\t(missing)\t\t\t12/8/2026 8:00:00 AM\t12/8/2026 8:00:00 AM\t\n");
    // At 11:15 the first is still due and the snoozed one not yet.
    EXPECT_NE(Tool({"reminder", "list"}, "2026-12-08T11:15:00").out.find("B2\tpending"), std::string::npos);
}

TEST_F(ReminderCommandTest, DeleteRemovesTheReminderAndBadInputIsRefused)
{
    ASSERT_EQ(Tool({"reminder", "add", "A7", "--at", "12/8/2026 9:20 AM"}).exitCode, 0);
    ASSERT_EQ(Tool({"reg", "set", "HKCU", Store + "\\A7\\Notes", "Text", "sz", "slides"}).exitCode, 0);
    ToolRun removed = Tool({"reminder", "delete", "a7"});
    EXPECT_EQ(removed.exitCode, 0) << removed.err;
    EXPECT_EQ(Tool({"reminder", "list"}).out, "");
    ToolRun again = Tool({"reminder", "delete", "A7"});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_EQ(again.err, "tavrel-device reminder: no reminder A7\n");

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>> {
             {"reminder"},
             {"reminder", "add"},
             {"reminder", "add", "A7"},
             {"reminder", "add", "A7", "--at", "someday"},
             {"reminder", "add", "A7", "--at", "9:00 AM"},
             {"reminder", "add", "A\\7", "--at", "12/8/2026"},
             {"reminder", "add", "A,7", "--at", "12/8/2026"},
             {"reminder", "add", "A7", "--at", "12/8/2026", "--colour", "red"},
             {"reminder", "add", "A7", "--at", "12/8/2026", "--start", "12/8/2026 10:00", "--end", "12/8/2026 9:00"},
             {"reminder", "delete"},
             {"reminder", "list", "extra"},
             {"reminder", "snooze", "A7"},
         }) {
        ToolRun run = Tool(bad);
        EXPECT_EQ(run.exitCode, 2) << bad.back();
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(Tool({"reminder", "list"}).out, "") << "nothing was written";
    EXPECT_EQ(Tool({"scheduler", "--list"}).out, ReminderProgram + "\t12/8/2026 9:20:00 AM\n")
        << "as the first reminder left it: the reminder program sorts it out when it runs";

    ASSERT_EQ(Tool({"reg", "set", "HKCU", Store, "Dismissed", "sz", "A7"}).exitCode, 0);
    ToolRun add = Tool({"reminder", "add", "A7", "--at", "12/8/2026 9:20 AM"});
    EXPECT_NE(add.out.find("note: A7 was dismissed before"), std::string::npos) << add.out;
}

TEST_F(ReminderCommandTest, TheSchedulerStartsWhatIsDueThroughTheProgramTableAndReportsWhatIsNotInstalled)
{
    const std::filesystem::path started = device.root() / "started.txt";
    ASSERT_TRUE(
        device::ProgramTable::set(u"\\Program Files\\Tavrel\\TavrelReminder.Exe", Recorder("reminder.sh", started)));
    ASSERT_EQ(Tool({"reminder", "add", "A7", "--at", "12/8/2026 9:20 AM"}).exitCode, 0);

    ToolRun early = Tool({"scheduler"}, "2026-12-08T09:20:00");
    EXPECT_EQ(early.exitCode, 0);
    EXPECT_EQ(early.out, "");
    ToolRun due = Tool({"scheduler"}, "2026-12-08T09:20:01");
    EXPECT_EQ(due.exitCode, 0) << due.err;
    EXPECT_EQ(due.out, "started " + ReminderProgram + " (due 12/8/2026 9:20:00 AM)\n");
    EXPECT_EQ(WaitForLines(started, 1), "--device " + device.root().string() + " AppRunAtTime\n");
    EXPECT_EQ(Tool({"scheduler", "--list"}).out, "") << "the start is taken";

    ASSERT_TRUE(device::ProgramTable::remove(u"\\Program Files\\Tavrel\\TavrelReminder.Exe"));
    ASSERT_EQ(Tool({"reminder", "add", "A7", "--at", "12/8/2026 9:30 AM"}).exitCode, 0);
    ToolRun missing = Tool({"scheduler"}, "2026-12-08T10:00:00");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot start " + ReminderProgram + ": no program is installed"), std::string::npos)
        << missing.err;
    EXPECT_EQ(Tool({"scheduler", "--list"}).out, "") << "not retried for ever";
    EXPECT_EQ(Tool({"scheduler", "--bogus"}).exitCode, 2);
}

TEST_F(ReminderCommandTest, AWatchingSchedulerStartsProgramsAsTheirTimesComeAndStopsWhenAsked)
{
    const std::filesystem::path started = device.root() / "started.txt";
    ASSERT_TRUE(
        device::ProgramTable::set(u"\\Program Files\\Tavrel\\TavrelReminder.Exe", Recorder("reminder.sh", started)));
    ASSERT_TRUE(device::ProgramTable::set(u"\\Program Files\\Tavrel\\Tavrel.exe", Recorder("calendar.sh", started)));
    // The device clock runs on from 9:00:00; the reminder is due three seconds later.
    ASSERT_EQ(Tool({"reminder", "add", "A7", "--at", "12/8/2026 9:00:03 AM"}).exitCode, 0);
    BackgroundProgram watch("tavrel-device", {"--device", device.root().string(), "scheduler", "--watch"},
        {"TAVREL_CLOCK=2026-12-08T09:00:00"});
    ASSERT_TRUE(watch.started());
    std::this_thread::sleep_for(1s);
    EXPECT_FALSE(std::filesystem::exists(started)) << "not yet due";

    const std::string first = WaitForLines(started, 1);
    EXPECT_EQ(first, "--device " + device.root().string() + " AppRunAtTime\n");

    // A start registered while it watches is noticed within the poll interval.
    const auto registered = std::chrono::steady_clock::now();
    ASSERT_EQ(Tool({"reg", "set", "HKLM", "System\\RunAppAtTime", "\\Program Files\\Tavrel\\Tavrel.exe", "sz",
                       "2026-12-08T09:00:00"})
                  .exitCode,
        0);
    const std::string both = WaitForLines(started, 2);
    EXPECT_EQ(std::count(both.begin(), both.end(), '\n'), 2) << both;
    EXPECT_LT(std::chrono::steady_clock::now() - registered, 4s);

    ::kill(watch.pid(), SIGTERM);
    EXPECT_EQ(watch.waitFor(5s), 0) << watch.err();
    EXPECT_NE(watch.out().find("started " + ReminderProgram), std::string::npos) << watch.out();
    EXPECT_NE(watch.out().find("stopped"), std::string::npos) << watch.out();
}

} // namespace
