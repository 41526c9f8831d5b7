// tavrel-device init, date and pim, run as the real program on a throw-away device folder.

#include "TempDevice.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(december.out, gymOid + "\t12/1/2026 7:00:00 PM\t12/1/2026 8:00:00 PM\tGym\t\t\n" +
                                meetingOid + "\t12/8/2026 9:00:00 AM\t12/8/2026 10:00:00 AM\tTeam meeting\tMeeting, Work\tAnn, Bob\n" +
                                gymOid + "\t12/8/2026 7:00:00 PM\t12/8/2026 8:00:00 PM\tGym\t\t\n" +
                                gymOid + "\t12/15/2026 7:00:00 PM\t12/15/2026 8:00:00 PM\tGym\t\t\n");

    ToolRun shown = runDeviceTool(device.root(), {"pim", "show", meetingOid});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find("Team meeting"), std::string::npos);
    EXPECT_EQ(runDeviceTool(device.root(), {"pim", "delete", meetingOid}).exitCode, 0);
    EXPECT_EQ(runDeviceTool(device.root(), {"pim", "show", meetingOid}).exitCode, 1);
    EXPECT_EQ(runDeviceTool(device.root(), {"pim", "add", "--subject", "x", "--start", "tomorrowish", "--end", "1/1/2027"}).exitCode, 2);
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
