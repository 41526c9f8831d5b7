#include "DateTestSupport.h"

#include "platform/device/CivilDate.h"
#include "platform/device/VariantTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace device;
using date_test::describe;
using date_test::localTime;

namespace {

double toVariant(const SystemTime& t)
{
    double date = 12345.678; // a sentinel that a failed conversion must leave alone
    EXPECT_TRUE(systemTimeToVariantTime(t, date)) << t.year << "-" << t.month << "-" << t.day;
    return date;
}

} // namespace

// Anchors computed independently (Python's datetime) rather than with the code under test.
TEST(VariantTime, KnownDaysAndWeekdays)
{
    EXPECT_EQ(toVariant(localTime(1899, 12, 30)), 0.0);
    EXPECT_EQ(toVariant(localTime(1900, 1, 1)), 2.0);
    EXPECT_EQ(toVariant(localTime(1900, 3, 1)), 61.0) << "1900 is no leap year";
    EXPECT_EQ(toVariant(localTime(2000, 2, 29)), 36585.0);
    EXPECT_EQ(toVariant(localTime(2026, 12, 8, 15, 45, 0)), 46364.65625);
    EXPECT_EQ(toVariant(localTime(100, 1, 1)), -657434.0);
    EXPECT_EQ(toVariant(localTime(9999, 12, 31)), 2958465.0);

    EXPECT_EQ(describe(46364.65625), "2026-12-08 15:45:00 Tue");
    EXPECT_EQ(describe(-657434.0), "0100-01-01 00:00:00 Fri");
    EXPECT_EQ(describe(2958465.0), "9999-12-31 00:00:00 Fri");
    EXPECT_EQ(describe(-328716.0), "1000-01-01 00:00:00 Wed");
    EXPECT_EQ(describe(-53797.0), "1752-09-14 00:00:00 Thu") << "Gregorian all the way back";
}

TEST(VariantTime, BeforeTheEpochTheFractionStillRunsForward)
{
    EXPECT_EQ(describe(-1.25), "1899-12-29 06:00:00 Fri");
    EXPECT_EQ(describe(-1.75), "1899-12-29 18:00:00 Fri");
    EXPECT_EQ(describe(-0.25), "1899-12-30 06:00:00 Sat") << "between -1 and 0 it is still day zero";
    EXPECT_EQ(describe(-2.5), "1899-12-28 12:00:00 Thu");
    EXPECT_EQ(toVariant(localTime(1899, 12, 29, 6, 0, 0)), -1.25);
    EXPECT_EQ(toVariant(localTime(1899, 12, 29, 18, 0, 0)), -1.75);
    EXPECT_EQ(toVariant(localTime(100, 1, 1, 12, 0, 0)), -657434.5);

    EXPECT_LT(variantTimeToLinear(-1.25), variantTimeToLinear(-1.75));
    EXPECT_DOUBLE_EQ(variantTimeToLinear(-1.25), -0.75);
    EXPECT_DOUBLE_EQ(variantTimeToLinear(-0.25), 0.25);
}

TEST(VariantTime, RoundsToTheNearestSecondAndCarries)
{
    const double second = 1.0 / 86400.0;
    EXPECT_EQ(describe(46364.5 + 0.4 * second), "2026-12-08 12:00:00 Tue");
    EXPECT_EQ(describe(46364.5 + 0.6 * second), "2026-12-08 12:00:01 Tue");
    EXPECT_EQ(describe(46365.0 - 0.3 * second), "2026-12-09 00:00:00 Wed") << "23:59:59.7 is the next midnight";
    EXPECT_EQ(describe(46388.0 - 0.3 * second), "2027-01-01 00:00:00 Fri") << "and across a year end";
    // 29 December 1899 23:59:59.7 is the midnight that starts day zero.
    EXPECT_EQ(describe(-1.0 - (1.0 - 0.3 * second)), "1899-12-30 00:00:00 Sat");

    SystemTime t;
    ASSERT_TRUE(variantTimeToSystemTime(46364.65625 + 0.4 * second, t));
    EXPECT_EQ(t.milliseconds, 0);
}

TEST(VariantTime, OnlyYears100To9999)
{
    SystemTime t = localTime(2000, 1, 1);
    const SystemTime untouched = t;
    for (double bad : {-657435.0, -657435.5, 2958466.0, 2958465.0 + (1.0 - 0.2 / 86400.0),
                       std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity(), 1e300, -1e300}) {
        EXPECT_FALSE(variantTimeToSystemTime(bad, t)) << bad;
        EXPECT_EQ(t, untouched);
    }
    EXPECT_TRUE(variantTimeToSystemTime(2958465.0 + 86399.0 / 86400.0, t));
    EXPECT_EQ(describe(2958465.0 + 86399.0 / 86400.0), "9999-12-31 23:59:59 Fri");
    EXPECT_EQ(describe(-657434.0 - 86399.0 / 86400.0), "0100-01-01 23:59:59 Fri");

    double date = 7.0;
    for (const SystemTime& bad : {localTime(99, 12, 31), localTime(10000, 1, 1), localTime(0, 1, 1), localTime(2026, 0, 1),
                                  localTime(2026, 13, 1), localTime(2026, 4, 31), localTime(1900, 2, 29), localTime(2026, 12, 8, 24),
                                  localTime(2026, 12, 8, 23, 60), localTime(2026, 12, 8, 23, 59, 60)})
        EXPECT_FALSE(systemTimeToVariantTime(bad, date)) << bad.year << "-" << bad.month << "-" << bad.day;
    EXPECT_EQ(date, 7.0) << "a failed conversion leaves the output alone";
}

TEST(VariantTime, RecordConversionIgnoresWeekdayAndMilliseconds)
{
    SystemTime t = localTime(2026, 12, 8, 15, 45, 0, 999);
    t.dayOfWeek = 6; // wrong on purpose: it is a Tuesday
    EXPECT_EQ(toVariant(t), 46364.65625);
}

// Every 13th day over the whole range: the record conversions are inverse to each other, the
// weekday advances by one per day, and instants on the time line keep their order.
TEST(VariantTime, WholeRangeRoundTripsInOrder)
{
    int previousWeekday = -1;
    std::int64_t previousDay = 0;
    double previousLinear = -1e9;
    for (std::int64_t day = kFirstDayNumber; day <= kLastDayNumber; day += 13) {
        const double date = composeVariantTime(day, 3723); // 01:02:03
        SystemTime t;
        ASSERT_TRUE(variantTimeToSystemTime(date, t)) << day;
        EXPECT_EQ(t.hour * 3600 + t.minute * 60 + t.second, 3723);
        EXPECT_EQ(CivilDate(t.year, t.month, t.day).dayNumber(), day);
        double back = 0;
        ASSERT_TRUE(systemTimeToVariantTime(t, back));
        ASSERT_EQ(back, date) << day;
        if (previousWeekday >= 0) {
            ASSERT_EQ(t.dayOfWeek, (previousWeekday + (day - previousDay)) % 7) << day;
        }
        ASSERT_LT(previousLinear, variantTimeToLinear(date)) << day;
        previousWeekday = t.dayOfWeek;
        previousDay = day;
        previousLinear = variantTimeToLinear(date);
    }
}

TEST(VariantTime, MillisecondTimeLine)
{
    EXPECT_EQ(millisecondsToVariantTime(-kMillisecondsPerDay + 6 * 3'600'000), -1.25);
    EXPECT_EQ(*variantTimeToMilliseconds(-1.25), -kMillisecondsPerDay + 6 * 3'600'000);
    EXPECT_EQ(*variantTimeToMilliseconds(-0.25), 6 * 3'600'000);
    EXPECT_FALSE(variantTimeToMilliseconds(std::nan("")));
    EXPECT_TRUE(isRepresentableMilliseconds((kLastDayNumber + 1) * kMillisecondsPerDay - 501));
    EXPECT_FALSE(isRepresentableMilliseconds((kLastDayNumber + 1) * kMillisecondsPerDay - 500));
    EXPECT_FALSE(isRepresentableMilliseconds(kFirstDayNumber * kMillisecondsPerDay - 501));
}
