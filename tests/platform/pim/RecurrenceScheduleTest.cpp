#include "PimTesting.h"

#include "platform/pim/Constants.h"
#include "platform/pim/RecurrenceSchedule.h"

#include <algorithm>
#include <functional>
#include <random>

namespace {

using namespace pim;
using pim_testing::dayOf;
using pim_testing::isoDay;

std::vector<std::string> days(const RecurrencePattern& pattern, std::int64_t from, std::int64_t to)
{
    std::vector<std::string> result;
    RecurrenceSchedule(pattern).forEachDay(from, to, [&](std::int64_t day) {
        result.push_back(isoDay(day));
        return true;
    });
    return result;
}

RecurrencePattern pattern(int type, std::int64_t startDay, int interval = 1)
{
    RecurrencePattern result(startDay);
    result.setRecurrenceType(type);
    result.setInterval(interval);
    return result;
}

using Days = std::vector<std::string>;

TEST(RecurrenceSchedule, DailyKeepsItsStepAcrossMonthEndsAndAfterAJump)
{
    const RecurrencePattern everyThird = pattern(olRecursDaily, dayOf(2026, 1, 30), 3);
    EXPECT_EQ(days(everyThird, dayOf(2026, 1, 1), dayOf(2026, 2, 8)),
              (Days {"2026-01-30", "2026-02-02", "2026-02-05", "2026-02-08"}));
    // A window far from the start lands on the same three-day rhythm (336 days after the start).
    EXPECT_EQ(days(everyThird, dayOf(2027, 1, 1), dayOf(2027, 1, 8)), (Days {"2027-01-01", "2027-01-04", "2027-01-07"}));
    EXPECT_EQ(days(everyThird, dayOf(2027, 1, 2), dayOf(2027, 1, 3)), (Days {}));
}

TEST(RecurrenceSchedule, WeeklyWithMaskAndIntervalAcrossTheYearEnd)
{
    // Monday, Wednesday and Friday of every other week, from Wednesday 12/30/2026: the Monday of
    // the first week lies before the start.
    RecurrencePattern weekly = pattern(olRecursWeekly, dayOf(2026, 12, 30), 2);
    weekly.setDayOfWeekMask(olMonday | olWednesday | olFriday);
    EXPECT_EQ(days(weekly, dayOf(2026, 12, 1), dayOf(2027, 1, 20)),
              (Days {"2026-12-30", "2027-01-01", "2027-01-11", "2027-01-13", "2027-01-15"}));

    // Without a mask the start's weekday is used.
    const RecurrencePattern plain = pattern(olRecursWeekly, dayOf(2026, 12, 9));
    EXPECT_EQ(plain.dayOfWeekMask(), olWednesday);
    EXPECT_EQ(days(plain, dayOf(2026, 12, 1), dayOf(2026, 12, 31)),
              (Days {"2026-12-09", "2026-12-16", "2026-12-23", "2026-12-30"}));
}

TEST(RecurrenceSchedule, MonthlyOnADayTheMonthLacksFallsOnItsLastDay)
{
    const RecurrencePattern monthly = pattern(olRecursMonthly, dayOf(2027, 10, 31));
    EXPECT_EQ(monthly.dayOfMonth(), 31);
    EXPECT_EQ(days(monthly, dayOf(2027, 10, 1), dayOf(2028, 4, 30)),
              (Days {"2027-10-31", "2027-11-30", "2027-12-31", "2028-01-31", "2028-02-29", "2028-03-31",
                     "2028-04-30"}));

    // A day later in the month than the start's: the start's own month counts.
    RecurrencePattern the20th = pattern(olRecursMonthly, dayOf(2026, 12, 8), 5);
    the20th.setDayOfMonth(20);
    EXPECT_EQ(days(the20th, dayOf(2026, 12, 1), dayOf(2027, 12, 31)), (Days {"2026-12-20", "2027-05-20", "2027-10-20"}));
    // ... and one earlier skips it.
    RecurrencePattern the1st = pattern(olRecursMonthly, dayOf(2026, 12, 8));
    the1st.setDayOfMonth(1);
    EXPECT_EQ(days(the1st, dayOf(2026, 12, 1), dayOf(2027, 1, 31)), (Days {"2027-01-01"}));
}

TEST(RecurrenceSchedule, MonthNthFindsTheNthAndTheLastWeekday)
{
    RecurrencePattern secondTuesday = pattern(olRecursMonthNth, dayOf(2026, 11, 1));
    secondTuesday.setDayOfWeekMask(olTuesday);
    secondTuesday.setInstance(2);
    EXPECT_EQ(days(secondTuesday, dayOf(2026, 11, 1), dayOf(2027, 1, 31)),
              (Days {"2026-11-10", "2026-12-08", "2027-01-12"}));

    RecurrencePattern lastFriday = pattern(olRecursMonthNth, dayOf(2026, 1, 1));
    lastFriday.setDayOfWeekMask(olFriday);
    lastFriday.setInstance(5);
    EXPECT_EQ(days(lastFriday, dayOf(2026, 1, 1), dayOf(2026, 3, 31)), (Days {"2026-01-30", "2026-02-27", "2026-03-27"}));

    // The last working day of the month.
    RecurrencePattern lastWorkday = pattern(olRecursMonthNth, dayOf(2026, 1, 1));
    lastWorkday.setDayOfWeekMask(olMonday | olTuesday | olWednesday | olThursday | olFriday);
    lastWorkday.setInstance(5);
    EXPECT_EQ(days(lastWorkday, dayOf(2026, 1, 1), dayOf(2026, 5, 31)),
              (Days {"2026-01-30", "2026-02-27", "2026-03-31", "2026-04-30", "2026-05-29"}));

    // Without mask and instance: the start's weekday and week of the month (the 29th is the last).
    const RecurrencePattern fromStart = pattern(olRecursMonthNth, dayOf(2026, 10, 29));
    EXPECT_EQ(fromStart.dayOfWeekMask(), olThursday);
    EXPECT_EQ(fromStart.instance(), 5);
    EXPECT_EQ(days(fromStart, dayOf(2026, 10, 1), dayOf(2026, 12, 31)), (Days {"2026-10-29", "2026-11-26", "2026-12-31"}));
}

TEST(RecurrenceSchedule, YearlyFebruary29FallsOnThe28thInCommonYears)
{
    const RecurrencePattern leapDay = pattern(olRecursYearly, dayOf(2028, 2, 29));
    EXPECT_EQ(days(leapDay, dayOf(2028, 1, 1), dayOf(2032, 12, 31)),
              (Days {"2028-02-29", "2029-02-28", "2030-02-28", "2031-02-28", "2032-02-29"}));

    // Every other year, on a month before the start's: the first falls in the next year.
    RecurrencePattern march = pattern(olRecursYearly, dayOf(2026, 6, 15), 2);
    march.setMonthOfYear(3);
    march.setDayOfMonth(10);
    EXPECT_EQ(days(march, dayOf(2026, 1, 1), dayOf(2031, 12, 31)), (Days {"2028-03-10", "2030-03-10"}));
}

TEST(RecurrenceSchedule, YearNthFindsTheFourthThursdayOfNovember)
{
    RecurrencePattern thanksgiving = pattern(olRecursYearNth, dayOf(2026, 1, 1));
    thanksgiving.setMonthOfYear(11);
    thanksgiving.setDayOfWeekMask(olThursday);
    thanksgiving.setInstance(4);
    EXPECT_EQ(days(thanksgiving, dayOf(2026, 1, 1), dayOf(2028, 12, 31)),
              (Days {"2026-11-26", "2027-11-25", "2028-11-23"}));
}

TEST(RecurrenceSchedule, CountAndEndDateBoundTheSeries)
{
    RecurrencePattern threeTimes = pattern(olRecursWeekly, dayOf(2026, 12, 28));
    threeTimes.setOccurrences(3);
    EXPECT_EQ(days(threeTimes, dayOf(2026, 1, 1), dayOf(2027, 12, 31)), (Days {"2026-12-28", "2027-01-04", "2027-01-11"}));
    EXPECT_EQ(isoDay(threeTimes.endDay()), "2027-01-11");
    EXPECT_EQ(threeTimes.patternEndDate(), pim_testing::at(2027, 1, 11));

    // The end date is the last day an occurrence may fall on, and counts its occurrences.
    RecurrencePattern untilJan31 = pattern(olRecursMonthly, dayOf(2026, 10, 31));
    untilJan31.setPatternEndDate(pim_testing::at(2027, 1, 31, 23, 0));
    EXPECT_EQ(days(untilJan31, dayOf(2026, 1, 1), dayOf(2027, 12, 31)),
              (Days {"2026-10-31", "2026-11-30", "2026-12-31", "2027-01-31"}));
    EXPECT_EQ(untilJan31.occurrences(), 4);

    // The last end set wins; "no end" clears both.
    untilJan31.setOccurrences(2);
    EXPECT_EQ(days(untilJan31, dayOf(2026, 1, 1), dayOf(2027, 12, 31)), (Days {"2026-10-31", "2026-11-30"}));
    untilJan31.setNoEndDate(true);
    EXPECT_EQ(untilJan31.occurrences(), 0);
    EXPECT_EQ(untilJan31.patternEndDate().GetStatus(), device::OleDateTime::Status::Null);

    // A count that outlives year 9999 ends there.
    RecurrencePattern endless = pattern(olRecursDaily, dayOf(9999, 12, 30));
    endless.setOccurrences(10);
    EXPECT_EQ(days(endless, dayOf(9999, 1, 1), device::kLastDayNumber), (Days {"9999-12-30", "9999-12-31"}));
}

TEST(RecurrenceSchedule, ValidationRefusesFieldsOutOfRange)
{
    const std::int64_t start = dayOf(2026, 12, 8);
    EXPECT_EQ(pattern(olRecursWeekly, start).validate(), Error::None);
    EXPECT_EQ(pattern(4, start).validate(), Error::InvalidRecurrence);
    EXPECT_EQ(pattern(olRecursDaily, start, 0).validate(), Error::InvalidRecurrence);
    EXPECT_EQ(pattern(olRecursDaily, start, 1000).validate(), Error::InvalidRecurrence);

    RecurrencePattern badMask = pattern(olRecursWeekly, start);
    badMask.setDayOfWeekMask(128);
    EXPECT_EQ(badMask.validate(), Error::InvalidRecurrence);
    RecurrencePattern badDay = pattern(olRecursMonthly, start);
    badDay.setDayOfMonth(32);
    EXPECT_EQ(badDay.validate(), Error::InvalidRecurrence);
    RecurrencePattern badInstance = pattern(olRecursMonthNth, start);
    badInstance.setInstance(6);
    EXPECT_EQ(badInstance.validate(), Error::InvalidRecurrence);
    RecurrencePattern april31 = pattern(olRecursYearly, start);
    april31.setMonthOfYear(4);
    april31.setDayOfMonth(31);
    EXPECT_EQ(april31.validate(), Error::InvalidRecurrence);
    RecurrencePattern noOccurrences = pattern(olRecursDaily, start);
    noOccurrences.setOccurrences(0);
    EXPECT_EQ(noOccurrences.validate(), Error::InvalidRecurrence);
    RecurrencePattern endsBeforeStart = pattern(olRecursDaily, start);
    endsBeforeStart.setPatternEndDate(pim_testing::at(2026, 12, 7));
    EXPECT_EQ(endsBeforeStart.validate(), Error::InvalidRecurrence);
}

// Jumping to a window must give exactly what walking the series from its start gives.
TEST(RecurrenceSchedule, AnyWindowAgreesWithTheWholeSeries)
{
    std::mt19937 random(20261208);
    const int types[] = {olRecursDaily, olRecursWeekly, olRecursMonthly, olRecursMonthNth, olRecursYearly, olRecursYearNth};
    for (int round = 0; round < 300; ++round) {
        const std::int64_t start = dayOf(1990, 1, 1) + std::int64_t(random() % 20000);
        RecurrencePattern series = pattern(types[random() % 6], start, 1 + int(random() % 4));
        series.setDayOfWeekMask(1 + int(random() % 127));
        series.setInstance(1 + int(random() % 5));
        series.setMonthOfYear(1 + int(random() % 12));
        series.setDayOfMonth(1 + int(random() % 28));
        if (random() % 2)
            series.setOccurrences(1 + int(random() % 400));
        ASSERT_EQ(series.validate(), Error::None);

        std::vector<std::int64_t> all;
        RecurrenceSchedule(series).forEachDay(start, start + 40 * 366, [&](std::int64_t day) {
            all.push_back(day);
            return true;
        });
        ASSERT_TRUE(std::adjacent_find(all.begin(), all.end(), std::greater_equal<>()) == all.end())
            << "days out of order in round " << round;
        const std::int64_t from = start + std::int64_t(random() % (30 * 366));
        const std::int64_t to = from + std::int64_t(random() % 400);
        std::vector<std::int64_t> expected;
        for (std::int64_t day : all) {
            if (day >= from && day <= to)
                expected.push_back(day);
        }
        std::vector<std::int64_t> windowed;
        RecurrenceSchedule(series).forEachDay(from, to, [&](std::int64_t day) {
            windowed.push_back(day);
            return true;
        });
        ASSERT_EQ(windowed, expected) << "round " << round << " type " << series.recurrenceType();
    }
}

} // namespace
