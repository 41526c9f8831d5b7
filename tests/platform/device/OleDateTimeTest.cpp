#include "DateTestSupport.h"

#include "platform/device/DateConversion.h"
#include "platform/device/OleDateTime.h"

#include <gtest/gtest.h>

#include <limits>

using namespace device;
using date_test::PinnedClock;
using date_test::localTime;

namespace {

using Status = OleDateTime::Status;

std::string text(const OleDateTime& date)
{
    return toUtf8(date.Format());
}

} // namespace

TEST(OleDateTime, FieldsAndWeekdays)
{
    const OleDateTime date(2024, 12, 31, 15, 45, 10);
    ASSERT_EQ(date.GetStatus(), Status::Valid);
    EXPECT_EQ(date.GetYear(), 2024);
    EXPECT_EQ(date.GetMonth(), 12);
    EXPECT_EQ(date.GetDay(), 31);
    EXPECT_EQ(date.GetHour(), 15);
    EXPECT_EQ(date.GetMinute(), 45);
    EXPECT_EQ(date.GetSecond(), 10);
    EXPECT_EQ(date.GetDayOfWeek(), 3) << "a Tuesday; 1 is Sunday";
    EXPECT_EQ(date.GetDayOfYear(), 366) << "2024 is a leap year";
    EXPECT_EQ(OleDateTime(2026, 12, 6, 0, 0, 0).GetDayOfWeek(), 1);
    EXPECT_EQ(OleDateTime(2026, 12, 12, 0, 0, 0).GetDayOfWeek(), 7);
    EXPECT_EQ(OleDateTime(2026, 3, 1, 0, 0, 0).GetDayOfYear(), 60);

    EXPECT_EQ(OleDateTime().GetValue(), 0.0);
    EXPECT_EQ(OleDateTime().GetStatus(), Status::Valid);
    EXPECT_EQ(OleDateTime(localTime(2026, 12, 8, 15, 45, 0)), OleDateTime(2026, 12, 8, 15, 45, 0));
    SystemTime back;
    ASSERT_TRUE(date.GetAsSystemTime(back));
    EXPECT_EQ(back, [] {
        SystemTime t = localTime(2024, 12, 31, 15, 45, 10);
        t.dayOfWeek = 2;
        return t;
    }());
}

TEST(OleDateTime, OutOfRangeFieldsAreInvalid)
{
    struct Fields {
        int year, month, day, hour, minute, second;
    };
    for (const Fields& f : {Fields{2026, 13, 1, 0, 0, 0}, Fields{2026, 0, 1, 0, 0, 0}, Fields{2026, 2, 29, 0, 0, 0},
                            Fields{1900, 2, 29, 0, 0, 0}, Fields{99, 12, 31, 0, 0, 0}, Fields{10000, 1, 1, 0, 0, 0},
                            Fields{2026, 12, 8, 24, 0, 0}, Fields{2026, 12, 8, -1, 0, 0}, Fields{2026, 12, 8, 0, 60, 0},
                            Fields{2026, 12, 8, 0, 0, -1}, Fields{65536 + 2026, 12, 8, 0, 0, 0},
                            Fields{2026, 65536 + 12, 8, 0, 0, 0}}) {
        const OleDateTime date(f.year, f.month, f.day, f.hour, f.minute, f.second);
        EXPECT_EQ(date.GetStatus(), Status::Invalid) << f.year << "-" << f.month << "-" << f.day << " " << f.hour;
        EXPECT_EQ(date.GetYear(), -1);
        EXPECT_EQ(date.GetDayOfWeek(), -1);
        EXPECT_EQ(date.Format(), u"");
        EXPECT_EQ(date.Format(u"%Y"), u"");
    }
    EXPECT_EQ(OleDateTime(2000, 2, 29, 0, 0, 0).GetStatus(), Status::Valid);
    EXPECT_EQ(OleDateTime(2958466.0).GetStatus(), Status::Invalid);
    EXPECT_EQ(OleDateTime(std::numeric_limits<double>::quiet_NaN()).GetStatus(), Status::Invalid);
    EXPECT_EQ(OleDateTime(localTime(2026, 2, 30)).GetStatus(), Status::Invalid);
}

TEST(OleDateTime, SettersReplaceTheWholeValue)
{
    OleDateTime date(2026, 12, 8, 15, 45, 0);
    EXPECT_TRUE(date.SetDate(2027, 1, 2));
    EXPECT_EQ(text(date), "1/2/2027");
    EXPECT_TRUE(date.SetTime(9, 30, 0));
    EXPECT_EQ(text(date), "9:30:00 AM") << "the time is set on day zero";
    EXPECT_FALSE(date.SetDateTime(2026, 2, 30, 0, 0, 0));
    EXPECT_EQ(date.GetStatus(), Status::Invalid);
    EXPECT_TRUE(date.SetDateTime(2026, 2, 28, 23, 59, 59));
    EXPECT_EQ(date.GetStatus(), Status::Valid);
}

TEST(OleDateTime, ArithmeticAcrossMonthAndYearEnds)
{
    const OleDateTimeSpan oneDay(1, 0, 0, 0);
    EXPECT_EQ(text(OleDateTime(2026, 12, 31, 23, 0, 0) + OleDateTimeSpan(0, 2, 0, 0)), "1/1/2027 1:00:00 AM");
    EXPECT_EQ(text(OleDateTime(2027, 1, 1, 0, 30, 0) - OleDateTimeSpan(0, 1, 0, 0)), "12/31/2026 11:30:00 PM");
    EXPECT_EQ(text(OleDateTime(2024, 2, 28, 0, 0, 0) + oneDay), "2/29/2024");
    EXPECT_EQ(text(OleDateTime(2023, 2, 28, 0, 0, 0) + oneDay), "3/1/2023");
    EXPECT_EQ(text(OleDateTime(2026, 3, 1, 0, 0, 0) - oneDay), "2/28/2026");
    EXPECT_EQ(text(OleDateTime(2026, 12, 6, 0, 0, 0) + OleDateTimeSpan(6, 23, 59, 59)), "12/12/2026 11:59:59 PM");

    OleDateTime date(2026, 1, 31, 12, 0, 0);
    date += OleDateTimeSpan(30, 0, 0, 0);
    EXPECT_EQ(text(date), "3/2/2026 12:00:00 PM");
    date -= OleDateTimeSpan(30, 0, 0, 0);
    EXPECT_EQ(date, OleDateTime(2026, 1, 31, 12, 0, 0));

    // Dates built from fields, from text and by arithmetic agree to the last bit.
    OleDateTime parsed;
    ASSERT_TRUE(parsed.ParseDateTime(u"12/8/2026 3:45:00 PM"));
    EXPECT_EQ(parsed.GetValue(), OleDateTime(2026, 12, 8, 15, 45, 0).GetValue());
    EXPECT_EQ((parsed + OleDateTimeSpan(0, 8, 14, 59)).GetValue(), OleDateTime(2026, 12, 8, 23, 59, 59).GetValue());
    EXPECT_EQ((OleDateTime(2026, 12, 8, 0, 0, 0) + OleDateTimeSpan(0, 15, 45, 0)).GetValue(), parsed.GetValue());
}

TEST(OleDateTime, DifferencesAreSpans)
{
    const OleDateTimeSpan span = OleDateTime(2027, 1, 1, 6, 30, 15) - OleDateTime(2026, 12, 30, 18, 0, 0);
    EXPECT_EQ(span.GetStatus(), Status::Valid);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 12);
    EXPECT_EQ(span.GetMinutes(), 30);
    EXPECT_EQ(span.GetSeconds(), 15);
    EXPECT_DOUBLE_EQ(span.GetTotalHours(), 36.5 + 15.0 / 3600.0);
    EXPECT_DOUBLE_EQ(span.GetTotalSeconds(), 131415.0);

    const OleDateTimeSpan back = OleDateTime(2026, 12, 30, 18, 0, 0) - OleDateTime(2027, 1, 1, 6, 30, 15);
    EXPECT_EQ(back.GetDays(), -1);
    EXPECT_EQ(back.GetHours(), -12);
    EXPECT_EQ(back.GetSeconds(), -15);
    EXPECT_EQ(back, -span);
    EXPECT_LT(back, span);
}

TEST(OleDateTime, BeforeTheEpochComparesAndAddsOnTheTimeLine)
{
    const OleDateTime morning(-1.25); // 29 December 1899 06:00
    const OleDateTime evening(-1.75); // 29 December 1899 18:00
    EXPECT_LT(morning, evening);
    EXPECT_GT(evening, morning);
    EXPECT_DOUBLE_EQ((evening - morning).GetTotalHours(), 12.0);
    EXPECT_EQ((morning + OleDateTimeSpan(0, 12, 0, 0)).GetValue(), -1.75);
    EXPECT_EQ(text(OleDateTime(0.125) - OleDateTimeSpan(0, 6, 0, 0)), "12/29/1899 9:00:00 PM");
    EXPECT_EQ((OleDateTime(0.125) - OleDateTimeSpan(0, 6, 0, 0)).GetValue(), -1.875);
    EXPECT_LT(OleDateTime(-1.75), OleDateTime(0.0));
    EXPECT_LT(OleDateTime(-2.25), OleDateTime(-1.75));
    EXPECT_EQ(OleDateTime(-0.25), OleDateTime(0.25)) << "two numbers for one instant";
    EXPECT_DOUBLE_EQ((OleDateTime(1.0) - OleDateTime(-1.5)).GetTotalDays(), 1.5);
}

TEST(OleDateTime, InvalidAndNullStayApart)
{
    const OleDateTime valid(2026, 12, 8, 0, 0, 0);
    const OleDateTime invalid(2026, 13, 8, 0, 0, 0);
    OleDateTime null;
    null.SetStatus(Status::Null);

    EXPECT_NE(invalid, valid);
    EXPECT_NE(null, OleDateTime());
    EXPECT_FALSE(invalid < valid);
    EXPECT_FALSE(invalid > valid);
    EXPECT_FALSE(invalid <= valid);
    EXPECT_EQ(invalid, OleDateTime(2026, 2, 30, 0, 0, 0));
    EXPECT_TRUE(invalid <= OleDateTime(2026, 2, 30, 0, 0, 0));

    const OleDateTimeSpan day(1, 0, 0, 0);
    EXPECT_EQ((invalid + day).GetStatus(), Status::Invalid);
    EXPECT_EQ((null + day).GetStatus(), Status::Null);
    EXPECT_EQ((valid - invalid).GetStatus(), Status::Invalid);
    EXPECT_EQ((valid - null).GetStatus(), Status::Null);
    EXPECT_EQ(null.Format(), u"");

    EXPECT_EQ((OleDateTime(9999, 12, 31, 0, 0, 0) + day).GetStatus(), Status::Invalid);
    EXPECT_EQ((OleDateTime(100, 1, 1, 0, 0, 0) - OleDateTimeSpan(0, 0, 0, 1)).GetStatus(), Status::Invalid);
    EXPECT_EQ((OleDateTime(9999, 12, 31, 0, 0, 0) + OleDateTimeSpan(0, 23, 59, 59)).GetStatus(), Status::Valid);
}

TEST(OleDateTimeSpan, ComponentsTotalsAndLimits)
{
    const OleDateTimeSpan span(0, 36, 0, 0);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 12);
    EXPECT_DOUBLE_EQ(span.GetTotalDays(), 1.5);
    EXPECT_EQ(OleDateTimeSpan(1, -1, 0, 0).GetHours(), 23);
    EXPECT_EQ(OleDateTimeSpan(1, -1, 0, 0).GetDays(), 0);
    EXPECT_EQ(OleDateTimeSpan(0.5 - 0.4 / 86400.0).GetSeconds(), 0) << "components are to the nearest second";
    EXPECT_EQ(OleDateTimeSpan(0.5 - 0.6 / 86400.0).GetSeconds(), 59);
    EXPECT_EQ(OleDateTimeSpan(1, 2, 3, 4) + OleDateTimeSpan(0, 21, 56, 56), OleDateTimeSpan(2, 0, 0, 0));
    EXPECT_EQ(OleDateTimeSpan(2, 0, 0, 0) - OleDateTimeSpan(0, 0, 0, 1), OleDateTimeSpan(1, 23, 59, 59));

    // Sums are kept to the millisecond, so steps add up exactly instead of drifting.
    OleDateTimeSpan hour;
    OleDateTime clock(2026, 12, 8, 0, 0, 0);
    for (int i = 0; i < 3600; ++i) {
        hour += OleDateTimeSpan(0, 0, 0, 1);
        clock += OleDateTimeSpan(0, 0, 0, 1);
    }
    EXPECT_EQ(hour, OleDateTimeSpan(0, 1, 0, 0));
    EXPECT_EQ(clock.GetValue(), OleDateTime(2026, 12, 8, 1, 0, 0).GetValue());

    EXPECT_EQ(OleDateTimeSpan(4'000'000.0).GetStatus(), OleDateTimeSpan::Status::Invalid);
    EXPECT_EQ(OleDateTimeSpan(std::numeric_limits<double>::infinity()).GetStatus(), OleDateTimeSpan::Status::Invalid);
    EXPECT_EQ(OleDateTimeSpan(4'000'000, 0, 0, 0).GetStatus(), OleDateTimeSpan::Status::Invalid);
    const OleDateTimeSpan invalid(4'000'000.0);
    EXPECT_EQ(invalid.GetTotalDays(), 0.0);
    EXPECT_EQ((invalid + span).GetStatus(), OleDateTimeSpan::Status::Invalid);
    EXPECT_FALSE(invalid < span);
}

TEST(OleDateTime, ParseAndFormatUseTheLocale)
{
    PinnedClock clock(localTime(2031, 5, 17, 9, 30, 0));
    OleDateTime date;
    ASSERT_TRUE(date.ParseDateTime(u"Tue, Dec 8, 2026 3:45 PM"));
    EXPECT_EQ(text(date), "12/8/2026 3:45:00 PM");
    EXPECT_EQ(toUtf8(date.Format(VAR_DATEVALUEONLY)), "12/8/2026");
    EXPECT_EQ(toUtf8(date.Format(VAR_TIMEVALUEONLY)), "3:45:00 PM");
    ASSERT_TRUE(date.ParseDateTime(u"12/8/2026 3:45 PM", VAR_DATEVALUEONLY));
    EXPECT_EQ(date, OleDateTime(2026, 12, 8, 0, 0, 0));
    ASSERT_TRUE(date.ParseDateTime(u"Dec 8"));
    EXPECT_EQ(date.GetYear(), 2031) << "a missing year is the device clock's";

    EXPECT_FALSE(date.ParseDateTime(u"not a date"));
    EXPECT_EQ(date.GetStatus(), Status::Invalid);
    EXPECT_FALSE(date.ParseDateTime(u"1/1/10000"));
    EXPECT_EQ(date.GetStatus(), Status::Invalid);
}

TEST(OleDateTime, Patterns)
{
    const OleDateTime date(2026, 3, 8, 15, 5, 9);
    EXPECT_EQ(date.Format(u"%A %a %B %b"), u"Sunday Sun March Mar");
    EXPECT_EQ(date.Format(u"%d/%m/%Y %y %j"), u"08/03/2026 26 067");
    EXPECT_EQ(date.Format(u"%H:%M:%S %I %p %w"), u"15:05:09 03 PM 0");
    EXPECT_EQ(date.Format(u"%#d.%#m. %#I%p %#j"), u"8.3. 3PM 67");
    EXPECT_EQ(date.Format(u"%x | %X | %c"), u"3/8/2026 | 3:05:09 PM | 3/8/2026 3:05:09 PM");
    EXPECT_EQ(date.Format(u"100%% %q %#q %"), u"100% %q %#q %") << "what is no conversion stays as written";
    EXPECT_EQ(OleDateTime(2026, 3, 8, 0, 0, 0).Format(u"%I %p"), u"12 AM");
    EXPECT_EQ(OleDateTime(305, 1, 1, 12, 0, 0).Format(u"%Y %y %I %p"), u"305 05 12 PM");
}

TEST(OleDateTime, CurrentTimeComesFromTheDeviceClock)
{
    PinnedClock clock(localTime(2026, 12, 8, 15, 45, 30, 900));
    const OleDateTime now = OleDateTime::GetCurrentTime();
    EXPECT_EQ(now, OleDateTime(2026, 12, 8, 15, 45, 30)) << "to the whole second";
}
