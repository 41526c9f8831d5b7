#include "DateTestSupport.h"

#include "platform/device/DateFormatter.h"
#include "platform/device/DateParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace device;

namespace {

std::string format(double date, std::uint32_t flags = 0)
{
    WideString text = u"(unchanged)";
    const DateError error = varBstrFromDate(date, flags, text);
    if (error != DateError::None)
        return std::string(dateErrorName(error)) + " " + toUtf8(text);
    return toUtf8(text);
}

double at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    double date = 0;
    EXPECT_TRUE(systemTimeToVariantTime(date_test::localTime(year, month, day, hour, minute, second), date));
    return date;
}

} // namespace

TEST(DateFormat, TheThreeShapes)
{
    EXPECT_EQ(format(at(2026, 12, 8, 15, 45, 0)), "12/8/2026 3:45:00 PM");
    EXPECT_EQ(format(at(2026, 12, 8)), "12/8/2026") << "midnight leaves the time out";
    EXPECT_EQ(format(at(1899, 12, 30, 15, 45, 0)), "3:45:00 PM") << "day zero leaves the date out";
    EXPECT_EQ(format(0.0), "12:00:00 AM") << "day zero at midnight is still a time";
    EXPECT_EQ(format(-0.25), "6:00:00 AM") << "just below zero is day zero too";
    EXPECT_EQ(format(-1.25), "12/29/1899 6:00:00 AM");
    EXPECT_EQ(format(-1.0), "12/29/1899");
}

TEST(DateFormat, ClockFaceAndDigits)
{
    EXPECT_EQ(format(at(2026, 1, 2, 0, 0, 1)), "1/2/2026 12:00:01 AM");
    EXPECT_EQ(format(at(2026, 1, 2, 12, 0, 0)), "1/2/2026 12:00:00 PM");
    EXPECT_EQ(format(at(2026, 1, 2, 13, 5, 9)), "1/2/2026 1:05:09 PM");
    EXPECT_EQ(format(at(2026, 1, 2, 23, 59, 59)), "1/2/2026 11:59:59 PM");
    EXPECT_EQ(format(at(100, 1, 1)), "1/1/100") << "years before 1000 keep just their digits";
    EXPECT_EQ(format(at(999, 7, 4, 8, 0, 0)), "7/4/999 8:00:00 AM");
    EXPECT_EQ(format(at(9999, 12, 31, 23, 59, 59)), "12/31/9999 11:59:59 PM");
}

TEST(DateFormat, RoundsBeforeChoosingTheShape)
{
    // 23:59:59.7 on 8 December is midnight of the 9th, so it is written as a date alone.
    EXPECT_EQ(format(at(2026, 12, 9) - 0.3 / 86400.0), "12/9/2026");
    // Just short of midnight on day zero rounds into 31 December 1899.
    EXPECT_EQ(format(1.0 - 0.3 / 86400.0), "12/31/1899");
}

TEST(DateFormat, Flags)
{
    const double date = at(2026, 12, 8, 15, 45, 0);
    EXPECT_EQ(format(date, VAR_DATEVALUEONLY), "12/8/2026");
    EXPECT_EQ(format(date, VAR_TIMEVALUEONLY), "3:45:00 PM");
    EXPECT_EQ(format(at(2026, 12, 8), VAR_TIMEVALUEONLY), "12:00:00 AM");
    EXPECT_EQ(format(0.0, VAR_DATEVALUEONLY), "12/30/1899");
    EXPECT_EQ(format(date, VAR_DATEVALUEONLY | VAR_TIMEVALUEONLY), "3:45:00 PM");
    EXPECT_EQ(format(date, 0x8000'0000u), "12/8/2026 3:45:00 PM");
}

TEST(DateFormat, OutOfRangeFailsAndLeavesTheText)
{
    for (double bad : {-657435.0, 2958466.0, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), 1e308})
        EXPECT_EQ(format(bad), "Invalid Argument (unchanged)") << bad;
}

TEST(DateFormat, WrittenTextsReadBackAsWritten)
{
    for (const char16_t* text : {u"12/8/2026 3:45:00 PM", u"12/8/2026", u"3:45:00 PM", u"12:00:00 AM", u"1/1/100",
                                 u"12/31/9999 11:59:59 PM", u"12/29/1899 6:00:00 AM", u"2/29/2000 12:00:00 PM"}) {
        double date = 0;
        ASSERT_EQ(varDateFromStr(text, 0, date), DateError::None) << toUtf8(text);
        EXPECT_EQ(format(date), toUtf8(text));
    }
    // Other spellings come back in the locale's own.
    double date = 0;
    ASSERT_EQ(varDateFromStr(u"Tue, December 08, 2026 15:45", 0, date), DateError::None);
    EXPECT_EQ(format(date), "12/8/2026 3:45:00 PM");
    ASSERT_EQ(varDateFromStr(u"12/30/1899", 0, date), DateError::None);
    EXPECT_EQ(format(date), "12:00:00 AM") << "day zero at midnight cannot be told from a time alone";
}

// Across the whole range, at an odd time of day, every written date reads back to the same number.
TEST(DateFormat, WholeRangeRoundTrip)
{
    for (std::int64_t day = kFirstDayNumber; day <= kLastDayNumber; day += 7919) {
        for (std::int64_t second : {0, 1, 43199, 43200, 86399}) {
            const double date = composeVariantTime(day, second);
            WideString text;
            ASSERT_EQ(varBstrFromDate(date, 0, text), DateError::None);
            double back = 0;
            ASSERT_EQ(varDateFromStr(text, 0, back), DateError::None) << toUtf8(text);
            ASSERT_EQ(back, date) << toUtf8(text);
        }
    }
}
