// Whole runs of the reminder program on a headless desktop: what it leaves scheduled, and when it
// opens a window at all.

#include "ReminderTestSupport.h"

#include "platform/device/ShellExecute.h"
#include "platform/sound/SoundPlayer.h"
#include "platform/ui/HeadlessBackend.h"
#include "reminder/TavrelReminderProgram.h"

#include <fstream>

namespace {

using namespace reminder_testing;

class ReminderProgramTest : public ReminderStoreTest {
protected:
    ReminderProgramTest()
    {
        device::ShellExecute::setInterceptor([](const device::ShellExecute::Request&, bool* result) {
            *result = false;
            return true;
        });
    }
    ~ReminderProgramTest() override { device::ShellExecute::setInterceptor({}); }

    // Runs the program headless; a script, when given, drives the dialog.
    int Run(std::optional<std::string> script = std::nullopt)
    {
        CTavrelReminderCommandLine line;
        line.headless = true;
        if (script) {
            const std::filesystem::path file = deviceFolder.root() / "script.txt";
            std::ofstream(file) << *script;
            line.script = file.string();
        }
        CTavrelReminderProgram program(line, [] { return std::make_unique<ui::HeadlessBackend>(); });
        ::testing::internal::CaptureStderr();
        const int code = program.Run();
        err = ::testing::internal::GetCapturedStderr();
        openedDesktop = program.OpenedDesktop();
        return code;
    }

    std::string err;
    bool openedDesktop = false;
};

TEST_F(ReminderProgramTest, WithNothingDueItOnlySchedulesTheNextRunAndOpensNoWindow)
{
    Write(Reminder(u"Later").At(u"12/8/2026 11:00:00 AM"));
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(openedDesktop);
    EXPECT_EQ(PendingStart(), "12/8/2026 11:00:00 AM");
    EXPECT_EQ(Value(u"Next Reminder"), u"12/8/2026 11:00:00 AM");
    EXPECT_EQ(err, "");
}

TEST_F(ReminderProgramTest, HeadlessWithoutAScriptTheDialogIsAnsweredWithOk)
{
    Write(Reminder(u"A7"));
    Write(Reminder(u"Later").At(u"12/8/2026 11:00:00 AM"));
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(openedDesktop);
    EXPECT_EQ(Value(u"Snooze Until", u"A7"), u"12/8/2026 9:05:00 AM");
    EXPECT_EQ(PendingStart(), "12/8/2026 9:05:00 AM") << "the snoozed reminder comes first";
    EXPECT_NE(err.find("play-sound: \\Windows\\Alarm2.wav\n"), std::string::npos) << err;
    EXPECT_EQ(sound::SoundPlayer::mode(), sound::SoundPlayer::Mode::Automatic) << "the run leaves no mode behind";
}

TEST_F(ReminderProgramTest, ADialogLeftOpenWhenTheScriptEndsBringsTheProgramBackInFiveMinutes)
{
    Write(Reminder(u"A7"));
    EXPECT_EQ(Run("idle\n"), 0);
    EXPECT_FALSE(Value(u"Snooze Until", u"A7")) << "nothing was decided";
    EXPECT_EQ(PendingStart(), "12/8/2026 9:05:00 AM");
}

TEST_F(ReminderProgramTest, AScriptDrivesTheDialogAndTheRunSchedulesWhatIsLeft)
{
    Write(Reminder(u"A7"));
    Write(Reminder(u"B2").At(u"12/8/2026 8:50:00 AM"));
    Write(Reminder(u"Later").At(u"12/9/2026 7:00:00 AM"));
    // Clear Alarm twice: the dialog closes itself, and the run schedules the next reminder.
    EXPECT_EQ(Run("idle\ncommand 1003\nidle\ncommand 1003\nidle\n"), 0);
    EXPECT_EQ(Value(u"Dismissed"), u"A7,B2");
    EXPECT_EQ(PendingStart(), "12/9/2026 7:00:00 AM");
    EXPECT_EQ(Value(u"Next Reminder"), u"12/9/2026 7:00:00 AM");
}

TEST_F(ReminderProgramTest, AFailedRegistrationIsToldAndTheRunEndsNormally)
{
    device::RunningProgram::setDevicePath(u"\\"); // no program the service can start
    Write(Reminder(u"Later").At(u"12/8/2026 11:00:00 AM"));
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(
        err.find("message-box: TavrelReminder: Unable to reschedule Tavrel Reminder for next run\n"), std::string::npos)
        << err;
    EXPECT_EQ(Value(u"Next Reminder"), u"12/8/2026 11:00:00 AM");
}

TEST_F(ReminderProgramTest, AScriptThatCannotBeReadEndsTheRunBeforeAnythingChanges)
{
    Write(Reminder(u"A7"));
    EXPECT_EQ(Run("tap here\n"), 2);
    EXPECT_NE(err.find("tavrel-reminder: "), std::string::npos) << err;
    EXPECT_EQ(PendingStart(), "none");
}

TEST(ReminderCommandLine, TheHostsOptionsAndTheHandheldsWords)
{
    std::string error;
    std::optional<CTavrelReminderCommandLine> line = CTavrelReminderCommandLine::Parse(
        {"--device", "/tmp/d", "--headless", "--script=/tmp/s", "--zoom", "3", "AppRunAtTime"}, &error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->device, "/tmp/d");
    EXPECT_TRUE(line->headless);
    EXPECT_EQ(line->script, "/tmp/s");
    EXPECT_EQ(line->zoom, 3);
    EXPECT_EQ(line->parameters, (std::vector<std::string> {"AppRunAtTime"}));
    EXPECT_FALSE(CTavrelReminderCommandLine::Parse({"--snapshot", "x.png"}, &error));
    EXPECT_NE(error.find("--snapshot"), std::string::npos);
    EXPECT_FALSE(CTavrelReminderCommandLine::Parse({"--script"}, &error));
    EXPECT_FALSE(CTavrelReminderCommandLine::Parse({"--zoom", "9"}, &error));
}

} // namespace
