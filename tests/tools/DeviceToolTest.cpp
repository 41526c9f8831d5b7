// tavrel-device init, date and pim, run as the real program on a throw-away device folder.

#include "TempDevice.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace testing_support;

TEST(DeviceTool, InitCreatesTheDeviceAndBadArgumentsExitNonZero)
{
    TempDevice device;
    std::filesystem::path fresh = device.root() / "fresh";
    ToolRun init = runDeviceTool(fresh, {"init"});
    EXPECT_EQ(init.exitCode, 0) << init.err;
    EXPECT_TRUE(std::filesystem::is_directory(fresh / "fs" / "Program Files"));
    EXPECT_TRUE(std::filesystem::exists(fresh / "fs" / "Windows" / "Alarm2.wav"));

    EXPECT_EQ(runDeviceTool(fresh, {"no-such-command"}).exitCode, 2);
    EXPECT_EQ(runDeviceTool(fresh, {}).exitCode, 2);
    ToolRun help = runProgram("tavrel-device", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("pim add"), std::string::npos);
}

TEST(DeviceTool, DateParseWritesTheLocaleText)
{
    TempDevice device;
    ToolRun parsed = runDeviceTool(device.root(), {"date", "parse", "Dec 8, 2026 3:45 PM"});
    EXPECT_EQ(parsed.exitCode, 0);
    EXPECT_EQ(parsed.out, "12/8/2026 3:45:00 PM\n");
    EXPECT_EQ(runDeviceTool(device.root(), {"date", "parse", "2026-12-08"}).out, "12/8/2026\n");
    ToolRun bad = runDeviceTool(device.root(), {"date", "parse", "next tuesday"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, "tavrel-device date parse: cannot read 'next tuesday' as a date or time (Type Mismatch)\n");
    ToolRun far = runDeviceTool(device.root(), {"date", "parse", "1/1/10000"});
    EXPECT_EQ(far.exitCode, 1);
    EXPECT_NE(far.err.find("'1/1/10000'"), std::string::npos) << far.err;

    ToolRun help = runDeviceTool(device.root(), {"date", "parse", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: tavrel-device date parse TEXT", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    ToolRun unknown = runDeviceTool(device.root(), {"date", "format", "x"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "tavrel-device date: unknown subcommand 'format' (try --help)\n");
}

TEST(DeviceTool, PimAddListShowDelete)
{
    TempDevice device;
    ToolRun meeting = runDeviceTool(device.root(), {"pim", "add", "--subject", "Team meeting", "--start", "12/8/2026 9:00 AM",
                                                    "--end", "12/8/2026 10:00 AM", "--categories", "Meeting, Work",
                                                    "--recipient", "Ann", "--recipient", "Bob"});
    ASSERT_EQ(meeting.exitCode, 0) << meeting.err;
    std::string meetingOid = meeting.out.substr(0, meeting.out.find('\n'));
    ToolRun gym = runDeviceTool(device.root(), {"pim", "add", "--subject", "Gym", "--start", "12/1/2026 7:00 PM", "--end",
                                                "12/1/2026 8:00 PM", "--recur", "weekly", "--count", "3"});
    ASSERT_EQ(gym.exitCode, 0) << gym.err;
    std::string gymOid = gym.out.substr(0, gym.out.find('\n'));
    EXPECT_NE(meetingOid, gymOid);

    ToolRun december = runDeviceTool(device.root(), {"pim", "list", "--from", "12/1/2026", "--to", "12/31/2026"});
    ASSERT_EQ(december.exitCode, 0) << december.err;
    EXPECT_EQ(december.out, gymOid + "\t12/1/2026 7:00:00 PM\t12/1/2026 8:00:00 PM\tGym\t\t\toccurrence\n" +
                                meetingOid + "\t12/8/2026 9:00:00 AM\t12/8/2026 10:00:00 AM\tTeam meeting\tMeeting, Work\tAnn, Bob\t\n" +
                                gymOid + "\t12/8/2026 7:00:00 PM\t12/8/2026 8:00:00 PM\tGym\t\t\toccurrence\n" +
                                gymOid + "\t12/15/2026 7:00:00 PM\t12/15/2026 8:00:00 PM\tGym\t\t\toccurrence\n");
    ToolRun everything = runDeviceTool(device.root(), {"pim", "list"});
    EXPECT_NE(everything.out.find("\tGym\t\t\tseries\n"), std::string::npos) << everything.out;

    ToolRun agenda = runDeviceTool(device.root(), {"pim", "list", "--from", "12/8/2026", "--to", "12/8/2026", "--format", "agenda"});
    ASSERT_EQ(agenda.exitCode, 0) << agenda.err;
    EXPECT_EQ(agenda.out, "Tuesday, December 8, 2026\n"
                          "  9:00 AM-10:00 AM  Team meeting  [Meeting, Work]  with Ann, Bob  (#" + meetingOid + ")\n"
                          "  7:00 PM-8:00 PM  Gym  (repeats)  (#" + gymOid + ")\n");
    EXPECT_EQ(runDeviceTool(device.root(), {"pim", "list", "--format", "table"}).exitCode, 2);

    ToolRun shown = runDeviceTool(device.root(), {"pim", "show", meetingOid});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find("Team meeting"), std::string::npos);
    ToolRun series = runDeviceTool(device.root(), {"pim", "show", gymOid});
    EXPECT_NE(series.out.find("IsRecurring: True\nRecurrence: every week on Tuesday, 3 times\nRecurrenceType: 1\n"),
              std::string::npos) << series.out;
    EXPECT_EQ(runDeviceTool(device.root(), {"pim", "delete", meetingOid}).exitCode, 0);
    EXPECT_EQ(runDeviceTool(device.root(), {"pim", "show", meetingOid}).exitCode, 1);
    EXPECT_EQ(runDeviceTool(device.root(), {"pim", "add", "--subject", "x", "--start", "tomorrowish", "--end", "1/1/2027"}).exitCode, 2);
}

TEST(DeviceTool, PimEditChangesOnlyTheNamedFieldsAndRecurrencesReadAsWords)
{
    TempDevice device;
    ToolRun added = runDeviceTool(device.root(), {"pim", "add", "--subject", "Dentist", "--start", "12/9/2026 9:00 AM", "--end",
                                                  "12/9/2026 9:30 AM", "--location", "Main St"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    const std::string oid = added.out.substr(0, added.out.find('\n'));
    ToolRun edited = runDeviceTool(device.root(), {"pim", "edit", oid, "--subject", "Dentist (moved)", "--start", "12/10/2026 2:00 PM"});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
    ToolRun listed = runDeviceTool(device.root(), {"pim", "list"});
    EXPECT_EQ(listed.out, oid + "\t12/10/2026 2:00:00 PM\t12/10/2026 2:30:00 PM\tDentist (moved)\t\t\t\n") << "the length stays";
    EXPECT_NE(runDeviceTool(device.root(), {"pim", "show", oid}).out.find("Location: Main St\n"), std::string::npos);
    ASSERT_EQ(runDeviceTool(device.root(), {"pim", "edit", oid, "--all-day", "yes", "--end", "12/11/2026"}).exitCode, 0);
    EXPECT_NE(runDeviceTool(device.root(), {"pim", "show", oid}).out.find("End: 12/11/2026\nAllDayEvent: True\n"), std::string::npos);

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>> {
             {"pim", "edit", oid},
             {"pim", "edit", oid, "--end", "12/1/2026"},
             {"pim", "edit", oid, "--all-day", "maybe"},
             {"pim", "edit", oid, "--colour", "red"},
             {"pim", "edit"}}) {
        ToolRun run = runDeviceTool(device.root(), bad);
        EXPECT_EQ(run.exitCode, 2) << bad.back();
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(runDeviceTool(device.root(), {"pim", "edit", "999", "--subject", "x"}).exitCode, 1);

    // Each kind of recurrence in words, and how it ends.
    const std::vector<std::pair<std::vector<std::string>, std::string>> kinds = {
        {{"--recur", "daily", "--interval", "2"}, "every 2 days"},
        {{"--recur", "weekly", "--until", "3/1/2027"}, "every week on Wednesday, until 3/1/2027"},
        {{"--recur", "monthly", "--count", "1"}, "every month on day 9, once"},
        {{"--recur", "yearly"}, "every year on December 9"},
    };
    for (const auto& [options, words] : kinds) {
        std::vector<std::string> args = {"pim", "add", "--subject", "R", "--start", "12/9/2026 8:00 AM", "--end", "12/9/2026 9:00 AM"};
        args.insert(args.end(), options.begin(), options.end());
        ToolRun series = runDeviceTool(device.root(), args);
        ASSERT_EQ(series.exitCode, 0) << series.err;
        ToolRun shown = runDeviceTool(device.root(), {"pim", "show", series.out.substr(0, series.out.find('\n'))});
        EXPECT_NE(shown.out.find("Recurrence: " + words + "\n"), std::string::npos) << shown.out;
    }
}

TEST(DeviceTool, AListingThatWouldExpandTooMuchNamesTheLimit)
{
    TempDevice device;
    ASSERT_EQ(runDeviceTool(device.root(), {"pim", "add", "--subject", "Pill", "--start", "1/1/2000 8:00 AM", "--end",
                                            "1/1/2000 8:05 AM", "--recur", "daily"})
                  .exitCode,
              0);
    ToolRun run = runDeviceTool(device.root(), {"pim", "list", "--from", "1/1/2000", "--to", "12/31/9999"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "tavrel-device pim: the period holds more than 250000 occurrences, the most one listing expands; "
                       "narrow --from and --to\n");
}

TEST(DeviceTool, IdentityShowsAndSetsWhatTheDeviceSaysItIs)
{
    TempDevice device;
    ToolRun fresh = runDeviceTool(device.root(), {"identity"});
    EXPECT_EQ(fresh.exitCode, 0) << fresh.err;
    EXPECT_EQ(fresh.out, "OS major version: 3\nplatform type: PocketPC\n");

    ToolRun set = runDeviceTool(device.root(), {"identity", "--major", "4", "--platform", "Smartphone"});
    EXPECT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out, "OS major version: 4\nplatform type: Smartphone\n");
    ToolRun one = runDeviceTool(device.root(), {"identity", "--major", "3"});
    EXPECT_EQ(one.out, "OS major version: 3\nplatform type: Smartphone\n") << "the other value stays";

    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>> {
             {"identity", "--major", "three"}, {"identity", "--major", "0"}, {"identity", "--major", "100"},
             {"identity", "--major", "-3"}, {"identity", "--platform", ""}, {"identity", "--platform"},
             {"identity", "PocketPC"}}) {
        ToolRun refused = runDeviceTool(device.root(), bad);
        EXPECT_EQ(refused.exitCode, 2) << bad.back();
        EXPECT_FALSE(refused.err.empty());
    }
    EXPECT_EQ(runDeviceTool(device.root(), {"identity"}).out, "OS major version: 3\nplatform type: Smartphone\n");
}
