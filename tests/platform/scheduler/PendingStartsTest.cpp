// The run-at-time service: one pending start per program in the registry, taken when due and
// started through the program table.

#include "PinnedClock.h"
#include "TempDevice.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/ProgramTable.h"
#include "platform/registry/ScopedKey.h"
#include "platform/scheduler/DueStarts.h"
#include "platform/scheduler/PendingStarts.h"
#include "platform/scheduler/RunAppAtTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

using namespace scheduler;
using namespace std::chrono_literals;
using testing_support::localTime;

namespace {

constexpr const char16_t* Reminder = u"\\Program Files\\Tavrel\\TavrelReminder.Exe";
constexpr const char16_t* Calendar = u"\\Program Files\\Tavrel\\Tavrel.exe";

// A time as its setting text, for comparisons that say what they saw.
std::string text(const std::optional<device::SystemTime>& time)
{
    return time ? device::DeviceClock::formatClockSetting(*time) : "none";
}

class PendingStartsTest : public ::testing::Test {
protected:
    // A host program that writes its arguments and its TAVREL_CLOCK to `out`, one a line.
    std::filesystem::path writeRecorder(const std::string& name, const std::filesystem::path& out)
    {
        std::filesystem::path script = device.root() / name;
        std::ofstream(script) << "#!/bin/sh\n{ for a in \"$@\"; do printf '%s\\n' \"$a\"; done; printf 'clock=%s\\n' "
                                 "\"$TAVREL_CLOCK\"; } > '"
                              << out.string() << ".tmp'\nmv '" << out.string() << ".tmp' '" << out.string() << "'\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        return script;
    }

    static std::string waitForFile(const std::filesystem::path& path)
    {
        for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
            std::this_thread::sleep_for(10ms);
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing_support::TempDevice device;
};

TEST_F(PendingStartsTest, EachProgramHasOnePendingStartThatANewTimeReplacesAndNoTimeCancels)
{
    EXPECT_TRUE(PendingStarts::list().empty());
    EXPECT_FALSE(pendingStart(Reminder));
    ASSERT_TRUE(runAppAtTime(Reminder, localTime(2026, 12, 8, 9, 0)));
    ASSERT_TRUE(runAppAtTime(Calendar, localTime(2026, 12, 8, 8, 30)));
    // Another spelling of the same program replaces its start.
    ASSERT_TRUE(runAppAtTime(u"\\program files\\TAVREL\\tavrelreminder.exe", localTime(2026, 12, 8, 9, 15)));

    const std::vector<PendingStart> pending = PendingStarts::list();
    ASSERT_EQ(pending.size(), 2u);
    EXPECT_EQ(pending[0].program, Calendar) << "earliest first";
    EXPECT_EQ(pending[1].program, Reminder) << "the first spelling stays";
    EXPECT_EQ(text(pending[1].time), "2026-12-08T09:15:00");
    EXPECT_EQ(text(pendingStart(Reminder)), "2026-12-08T09:15:00");

    // Every process sees them: they are plain registry values.
    registry::ScopedKey key;
    ASSERT_EQ(
        registry::ScopedKey::open(registry::HKEY_LOCAL_MACHINE, PendingStarts::KeyPath, key), registry::ERROR_SUCCESS);
    char16_t text[32] = {};
    std::uint32_t size = sizeof text;
    ASSERT_EQ(registry::queryValue(key.get(), Reminder, nullptr, text, &size), registry::ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(text), u"2026-12-08T09:15:00");

    ASSERT_TRUE(runAppAtTime(Reminder, std::nullopt));
    EXPECT_FALSE(pendingStart(Reminder));
    EXPECT_TRUE(runAppAtTime(Reminder, std::nullopt)) << "cancelling what is not pending succeeds";
    EXPECT_EQ(PendingStarts::list().size(), 1u);
}

TEST_F(PendingStartsTest, PathsThatNameNoProgramAndTimesThatAreNoDateAreRefused)
{
    std::string error;
    EXPECT_FALSE(runAppAtTime(u"\\", localTime(2026, 12, 8, 9, 0), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(runAppAtTime(u"\\A\\..\\..\\x.exe", localTime(2026, 12, 8, 9, 0)));
    EXPECT_FALSE(runAppAtTime(u"\\" + std::u16string(300, u'a') + u".exe", localTime(2026, 12, 8, 9, 0)));
    EXPECT_FALSE(runAppAtTime(Reminder, localTime(2026, 2, 30, 9, 0)));
    EXPECT_FALSE(runAppAtTime(Reminder, localTime(2026, 12, 8, 24, 0)));
    EXPECT_TRUE(PendingStarts::list().empty());

    // A value some other program wrote that is no time is passed over, and never started.
    registry::ScopedKey key;
    ASSERT_EQ(registry::ScopedKey::create(registry::HKEY_LOCAL_MACHINE, PendingStarts::KeyPath, key),
        registry::ERROR_SUCCESS);
    const std::u16string junk = u"tomorrow";
    ASSERT_EQ(
        registry::setValue(key.get(), u"\\x.exe", registry::REG_SZ, junk.c_str(), std::uint32_t((junk.size() + 1) * 2)),
        registry::ERROR_SUCCESS);
    const std::uint32_t number = 5;
    ASSERT_EQ(registry::setValue(key.get(), u"\\y.exe", registry::REG_DWORD, &number, sizeof number),
        registry::ERROR_SUCCESS);
    EXPECT_TRUE(PendingStarts::list().empty());
    EXPECT_TRUE(PendingStarts::takeDue(localTime(2099, 1, 1)).empty());
}

TEST_F(PendingStartsTest, TakingTheDueStartsRemovesThemAndLeavesTheLaterOnes)
{
    ASSERT_TRUE(runAppAtTime(Reminder, localTime(2026, 12, 8, 9, 0, 0)));
    ASSERT_TRUE(runAppAtTime(Calendar, localTime(2026, 12, 8, 9, 0, 1)));
    EXPECT_TRUE(PendingStarts::takeDue(localTime(2026, 12, 8, 9, 0, 0, 999)).empty())
        << "not within its own second: the program would find its time not yet passed";

    const std::vector<PendingStart> due = PendingStarts::takeDue(localTime(2026, 12, 8, 9, 0, 1));
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].program, Reminder);
    EXPECT_TRUE(PendingStarts::takeDue(localTime(2026, 12, 8, 9, 0, 1)).empty()) << "taken once";
    ASSERT_EQ(PendingStarts::list().size(), 1u);
    EXPECT_EQ(PendingStarts::list()[0].program, Calendar);
}

TEST_F(PendingStartsTest, DueProgramsStartThroughTheProgramTableOnTheDevicesOwnClock)
{
    const std::filesystem::path out = device.root() / "started.txt";
    ASSERT_TRUE(device::ProgramTable::set(Reminder, writeRecorder("reminder.sh", out)));
    ASSERT_TRUE(runAppAtTime(Reminder, localTime(2026, 12, 8, 9, 0)));
    ASSERT_TRUE(runAppAtTime(u"\\Program Files\\None\\Missing.exe", localTime(2026, 12, 8, 8, 0)));
    ASSERT_TRUE(runAppAtTime(Calendar, localTime(2026, 12, 9, 9, 0)));

    testing_support::PinnedClock clock(localTime(2026, 12, 8, 9, 0, 30));
    std::string error;
    const std::vector<StartOutcome> outcomes = DueStarts::run(localTime(2026, 12, 8, 9, 0, 30), &error);
    EXPECT_TRUE(error.empty()) << error;
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].start.program, u"\\Program Files\\None\\Missing.exe");
    EXPECT_FALSE(outcomes[0].started);
    EXPECT_NE(outcomes[0].error.find("no program is installed"), std::string::npos) << outcomes[0].error;
    EXPECT_TRUE(outcomes[1].started) << outcomes[1].error;

    // The program runs on this device with the handheld's command line, and its clock goes on
    // from this one's instead of starting over.
    EXPECT_EQ(waitForFile(out), "--device\n" + device.root().string() + "\nAppRunAtTime\nclock=2026-12-08T09:00:30\n");
    // The failed start is not retried; the later one waits.
    ASSERT_EQ(PendingStarts::list().size(), 1u);
    EXPECT_EQ(PendingStarts::list()[0].program, Calendar);
}

TEST_F(PendingStartsTest, AWatchingSchedulerSleepsUntilTheNextStartButNoLongerThanItsLongestNap)
{
    const auto longest = std::chrono::milliseconds(2000);
    EXPECT_EQ(DueStarts::sleepBefore(localTime(2026, 12, 8, 9, 0), longest), longest);
    ASSERT_TRUE(runAppAtTime(Reminder, localTime(2026, 12, 8, 9, 0, 1)));
    EXPECT_EQ(DueStarts::sleepBefore(localTime(2026, 12, 8, 9, 0, 0, 300), longest), 1700ms);
    EXPECT_EQ(DueStarts::sleepBefore(localTime(2026, 12, 8, 9, 0, 1, 600), longest), 400ms);
    EXPECT_EQ(DueStarts::sleepBefore(localTime(2026, 12, 8, 8, 0), longest), longest);
    EXPECT_EQ(DueStarts::sleepBefore(localTime(2026, 12, 8, 10, 0), longest), 0ms) << "overdue";
}

} // namespace
