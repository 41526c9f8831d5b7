#include "DateTestSupport.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/VariantTime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <thread>

using namespace device;
using date_test::describe;
using date_test::PinnedClock;
using date_test::localTime;

namespace {

std::int64_t millisecondsOf(const SystemTime& t)
{
    double date = 0;
    EXPECT_TRUE(systemTimeToVariantTime(t, date));
    return *variantTimeToMilliseconds(date) + t.milliseconds;
}

// Sets TAVREL_CLOCK for one test and puts the clock back to what the environment says after it.
class ClockSetting {
public:
    explicit ClockSetting(const char* value)
    {
        if (const char* old = std::getenv("TAVREL_CLOCK"))
            m_old = old;
        ::setenv("TAVREL_CLOCK", value, 1);
        DeviceClock::resetForTesting();
    }
    ~ClockSetting()
    {
        if (m_old.empty())
            ::unsetenv("TAVREL_CLOCK");
        else
            ::setenv("TAVREL_CLOCK", m_old.c_str(), 1);
        DeviceClock::resetForTesting();
    }

private:
    std::string m_old;
};

} // namespace

TEST(DeviceClock, PinnedClockRunsOn)
{
    const SystemTime start = localTime(2026, 12, 8, 15, 45, 0, 0);
    PinnedClock clock(start, DeviceClock::Flow::RunsOn);
    const SystemTime first = DeviceClock::localNow();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    const SystemTime second = DeviceClock::localNow();

    const std::int64_t sinceStart = millisecondsOf(first) - millisecondsOf(start);
    EXPECT_GE(sinceStart, 0);
    EXPECT_LT(sinceStart, 5000);
    const std::int64_t between = millisecondsOf(second) - millisecondsOf(first);
    EXPECT_GE(between, 40);
    EXPECT_LT(between, 5000);
    EXPECT_EQ(first.dayOfWeek, 2) << "a Tuesday";
}

TEST(DeviceClock, FrozenClockMovesOnlyWhenTold)
{
    PinnedClock clock(localTime(2026, 12, 31, 23, 59, 59, 500));
    EXPECT_EQ(DeviceClock::localNow(), [] {
        SystemTime t = localTime(2026, 12, 31, 23, 59, 59, 500);
        t.dayOfWeek = 4;
        return t;
    }());
    DeviceClock::advanceForTesting(std::chrono::milliseconds(600));
    const SystemTime now = DeviceClock::localNow();
    EXPECT_EQ(describe(DeviceClock::localNowAsVariantTime()), "2027-01-01 00:00:00 Fri");
    EXPECT_EQ(now.milliseconds, 100);
    DeviceClock::advanceForTesting(-std::chrono::hours(24 * 366));
    EXPECT_EQ(describe(DeviceClock::localNowAsVariantTime()), "2025-12-31 00:00:00 Wed");
}

TEST(DeviceClock, VariantTimeIsToTheWholeSecond)
{
    PinnedClock clock(localTime(2026, 12, 8, 15, 45, 10, 999));
    EXPECT_EQ(DeviceClock::localNowAsVariantTime(), composeVariantTime(46364, 15 * 3600 + 45 * 60 + 10));
}

TEST(DeviceClock, PinsOnlyValidRecords)
{
    PinnedClock clock(localTime(2026, 12, 8, 15, 45, 0));
    EXPECT_FALSE(DeviceClock::setForTesting(localTime(2026, 2, 30)));
    EXPECT_FALSE(DeviceClock::setForTesting(localTime(2026, 12, 8, 24)));
    EXPECT_FALSE(DeviceClock::setForTesting(localTime(99, 1, 1)));
    EXPECT_EQ(describe(DeviceClock::localNowAsVariantTime()), "2026-12-08 15:45:00 Tue") << "the old pin holds";
}

TEST(DeviceClock, PinnedClockStaysWithinTheCalendar)
{
    PinnedClock clock(localTime(9999, 12, 31, 23, 59, 59));
    DeviceClock::advanceForTesting(std::chrono::hours(48));
    EXPECT_EQ(DeviceClock::localNow().year, 9999);
    DeviceClock::setForTesting(localTime(100, 1, 1), DeviceClock::Flow::Frozen);
    DeviceClock::advanceForTesting(-std::chrono::hours(48));
    EXPECT_EQ(DeviceClock::localNow().year, 100);
}

TEST(DeviceClock, ClockSettingFormat)
{
    const auto good = DeviceClock::parseClockSetting("2026-12-08T15:45:09");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->year, 2026);
    EXPECT_EQ(good->second, 9);
    EXPECT_EQ(good->dayOfWeek, 2);
    EXPECT_TRUE(DeviceClock::parseClockSetting("2000-02-29T00:00:00"));
    for (const char* bad : {"", "2026-12-08", "2026-12-08 15:45:09", "2026-12-08T15:45", "2026-12-08T15:45:09Z",
                            " 2026-12-08T15:45:09", "2026-13-08T15:45:09", "2026-02-29T15:45:09", "2026-12-08T24:00:00",
                            "2026-12-08T23:60:00", "0099-12-08T15:45:09", "2026-1a-08T15:45:09", "+026-12-08T15:45:09"})
        EXPECT_FALSE(DeviceClock::parseClockSetting(bad)) << bad;
}

TEST(DeviceClock, StartsFromTheEnvironmentSetting)
{
    ClockSetting setting("2026-12-08T15:45:00");
    const SystemTime now = DeviceClock::localNow();
    const std::int64_t sinceStart = millisecondsOf(now) - millisecondsOf(localTime(2026, 12, 8, 15, 45, 0));
    EXPECT_GE(sinceStart, 0);
    EXPECT_LT(sinceStart, 5000);
}

TEST(DeviceClock, MalformedSettingIsReportedOnceAndIgnored)
{
    ClockSetting setting("tomorrow\x01");
    testing::internal::CaptureStderr();
    const SystemTime first = DeviceClock::localNow();
    DeviceClock::localNow();
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(diagnostics.begin(), diagnostics.end(), '\n'), 1) << diagnostics;
    EXPECT_NE(diagnostics.find("TAVREL_CLOCK"), std::string::npos);
    EXPECT_NE(diagnostics.find("tomorrow?"), std::string::npos) << "control characters are not echoed";

    // The host clock is in use: it agrees with the host's own idea of the year.
    const std::time_t host = std::time(nullptr);
    std::tm local{};
    localtime_r(&host, &local);
    EXPECT_NEAR(first.year, local.tm_year + 1900, 1);
}

TEST(DeviceClock, CountersRunForward)
{
    EXPECT_EQ(DeviceClock::performanceFrequency(), 1'000'000'000);
    const std::int64_t counter = DeviceClock::performanceCounter();
    const std::uint32_t ticks = DeviceClock::tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(DeviceClock::performanceCounter() - counter, 20'000'000);
    EXPECT_GE(std::uint32_t(DeviceClock::tickCount() - ticks), 20u);

    // Pinning the date does not touch the interval counters.
    PinnedClock clock(localTime(2026, 12, 8));
    const std::uint32_t afterPin = DeviceClock::tickCount();
    EXPECT_LT(std::uint32_t(afterPin - ticks), 60'000u);
}

// Files are stamped and aged in device time: the instant follows a pinned clock day for day, and
// is the host's own instant when nothing is pinned.
TEST(DeviceClock, InstantFollowsThePinnedClock)
{
    {
        PinnedClock pinned(localTime(2026, 3, 10, 12, 0, 0), DeviceClock::Flow::Frozen);
        const auto first = DeviceClock::instantNow();
        EXPECT_EQ(DeviceClock::instantNow(), first);
        DeviceClock::advanceForTesting(std::chrono::hours(24 * 31));
        const auto later = DeviceClock::instantNow();
        // 31 days on, give or take a change of summer time in the host's zone.
        using Hours = std::chrono::duration<double, std::ratio<3600>>;
        EXPECT_NEAR(Hours(later - first).count(), 24.0 * 31, 1.0);
        const std::time_t stamped = std::chrono::system_clock::to_time_t(first);
        std::tm local{};
        localtime_r(&stamped, &local);
        EXPECT_EQ(local.tm_year + 1900, 2026);
        EXPECT_EQ(local.tm_mon + 1, 3);
        EXPECT_EQ(local.tm_mday, 10);
        EXPECT_EQ(local.tm_hour, 12);
    }
    const auto host = std::chrono::system_clock::now();
    EXPECT_LT(std::chrono::abs(DeviceClock::instantNow() - host), std::chrono::seconds(5));
}
