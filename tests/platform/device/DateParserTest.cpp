#include "DateTestSupport.h"

#include "platform/device/DateFormatter.h"
#include "platform/device/DateParser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace device;
using date_test::describe;
using date_test::PinnedClock;
using date_test::localTime;
using namespace std::string_literals;

namespace {

// The parse result in readable form, or the error's name.
std::string parse(WideView text, std::uint32_t flags = 0)
{
    double date = 0;
    const DateError error = varDateFromStr(text, flags, date);
    if (error != DateError::None)
        return std::string(dateErrorName(error));
    return describe(date);
}

struct Case {
    const char16_t* text;
    const char* expected;
};

// Texts without a year need one from the clock: 2031 keeps it apart from every written year.
class DateText : public ::testing::Test {
protected:
    PinnedClock m_clock{localTime(2031, 5, 17, 9, 30, 0)};
};

} // namespace

TEST_F(DateText, NumericDates)
{
    const Case cases[] = {
        {u"12/8/2026", "2026-12-08 00:00:00 Tue"},
        {u"12/08/26", "2026-12-08 00:00:00 Tue"},
        {u"12-8-2026", "2026-12-08 00:00:00 Tue"},
        {u"12.8.2026", "2026-12-08 00:00:00 Tue"},
        {u"2026-12-08", "2026-12-08 00:00:00 Tue"},
        {u"2026/12/8", "2026-12-08 00:00:00 Tue"},
        {u"12/8", "2031-12-08 00:00:00 Mon"},
        {u"12/2026", "2026-12-01 00:00:00 Tue"},
        {u"2026-12", "2026-12-01 00:00:00 Tue"},
        {u"1/1/100", "0100-01-01 00:00:00 Fri"},
        {u"12/31/9999", "9999-12-31 00:00:00 Fri"},
        {u"0100-01-01", "0100-01-01 00:00:00 Fri"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.text), c.expected) << toUtf8(c.text);
}

TEST_F(DateText, MonthNameDatesAndWeekdays)
{
    const Case cases[] = {
        {u"Dec 8, 2026", "2026-12-08 00:00:00 Tue"},
        {u"December 8, 2026", "2026-12-08 00:00:00 Tue"},
        {u"december 8 2026", "2026-12-08 00:00:00 Tue"},
        {u"8 December 2026", "2026-12-08 00:00:00 Tue"},
        {u"8-Dec-2026", "2026-12-08 00:00:00 Tue"},
        {u"8-DEC-26", "2026-12-08 00:00:00 Tue"},
        {u"Dec. 8, 2026", "2026-12-08 00:00:00 Tue"},
        {u"2026 Dec 8", "2026-12-08 00:00:00 Tue"},
        {u"Dec 8", "2031-12-08 00:00:00 Mon"},
        {u"8 Dec", "2031-12-08 00:00:00 Mon"},
        {u"December 2026", "2026-12-01 00:00:00 Tue"},
        {u"Sep 30, 2026", "2026-09-30 00:00:00 Wed"},
        {u"september 30, 2026", "2026-09-30 00:00:00 Wed"},
        {u"Tue, Dec 8, 2026", "2026-12-08 00:00:00 Tue"},
        {u"TUESDAY December 8, 2026", "2026-12-08 00:00:00 Tue"},
        {u"Fri 12/8/2026", "2026-12-08 00:00:00 Tue"},
        {u"  \t Dec 8, 2026 \r\n", "2026-12-08 00:00:00 Tue"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.text), c.expected) << toUtf8(c.text);
}

TEST_F(DateText, TimesAloneAndWithDates)
{
    const Case cases[] = {
        {u"15:45", "1899-12-30 15:45:00 Sat"},
        {u"15:45:10", "1899-12-30 15:45:10 Sat"},
        {u"3:45 PM", "1899-12-30 15:45:00 Sat"},
        {u"3:45:10 pm", "1899-12-30 15:45:10 Sat"},
        {u"3 PM", "1899-12-30 15:00:00 Sat"},
        {u"3PM", "1899-12-30 15:00:00 Sat"},
        {u"12 AM", "1899-12-30 00:00:00 Sat"},
        {u"12:30 am", "1899-12-30 00:30:00 Sat"},
        {u"12:30 PM", "1899-12-30 12:30:00 Sat"},
        {u"0:00", "1899-12-30 00:00:00 Sat"},
        {u"23:59:59", "1899-12-30 23:59:59 Sat"},
        {u"12/8/2026 3:45:00 PM", "2026-12-08 15:45:00 Tue"},
        {u"12/8/2026 15:45", "2026-12-08 15:45:00 Tue"},
        {u"Dec 8, 2026 3PM", "2026-12-08 15:00:00 Tue"},
        {u"Dec 8, 2026, 3:45 PM", "2026-12-08 15:45:00 Tue"},
        {u"8 Dec 3 PM", "2031-12-08 15:00:00 Mon"},
        {u"3:45 PM 12/8/2026", "2026-12-08 15:45:00 Tue"},
        {u"Tue, Dec 8, 2026 9:05:07 am", "2026-12-08 09:05:07 Tue"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parse(c.text), c.expected) << toUtf8(c.text);
}

TEST_F(DateText, TwoDigitYearsFallIn1930To2029)
{
    EXPECT_EQ(parse(u"1/1/00"), "2000-01-01 00:00:00 Sat");
    EXPECT_EQ(parse(u"1/1/29"), "2029-01-01 00:00:00 Mon");
    EXPECT_EQ(parse(u"1/1/30"), "1930-01-01 00:00:00 Wed");
    EXPECT_EQ(parse(u"1/1/99"), "1999-01-01 00:00:00 Fri");
    EXPECT_EQ(parse(u"1/1/5"), "2005-01-01 00:00:00 Sat");
    EXPECT_EQ(parse(u"Jan 1, 45"), "1945-01-01 00:00:00 Mon");
}

TEST_F(DateText, LeapDays)
{
    EXPECT_EQ(parse(u"2/29/2000"), "2000-02-29 00:00:00 Tue");
    EXPECT_EQ(parse(u"2/29/2024"), "2024-02-29 00:00:00 Thu");
    EXPECT_EQ(parse(u"2/29/1900"), "Type Mismatch");
    EXPECT_EQ(parse(u"2/29/2026"), "Type Mismatch");
    EXPECT_EQ(parse(u"Feb 29, 2100"), "Type Mismatch");
}

TEST_F(DateText, OutOfRangeFieldsAreNoDate)
{
    for (const char16_t* text : {u"13/1/2026", u"0/1/2026", u"12/32/2026", u"12/0/2026", u"2/30/2026", u"4/31/2026",
                                 u"25:00", u"24:00", u"12:60", u"12:30:60", u"13 PM", u"0 PM 13:00", u"15:45 PM",
                                 u"2026-13-01", u"Dec 32, 2026", u"12/8/2026 25:00"})
        EXPECT_EQ(parse(text), "Type Mismatch") << toUtf8(text);
}

TEST_F(DateText, WellFormedDatesOutsideTheYearsOverflow)
{
    for (const char16_t* text : {u"1/1/10000", u"12/31/0099", u"Dec 8, 12345", u"1/1/099", u"10000-01-01",
                                 u"2/29/10000", u"1/1/123456789"})
        EXPECT_EQ(parse(text), "Overflow") << toUtf8(text);
    EXPECT_EQ(parse(u"2/30/10000"), "Type Mismatch") << "a day that exists in no year is no date at all";
}

TEST_F(DateText, TextThatIsNoDate)
{
    for (const char16_t* text :
         {u"", u"   ", u"Tue", u"PM", u"hello", u"12", u"12/", u"/12/8", u"12/8/", u"12//8", u"12/8-2026",
          u"12/8/2026/1", u"1/2/2026 3/4/2026", u"3 PM 4 PM", u"Dec", u"Dec Jan 8", u"12/8/2026 3", u"15:45:",
          u"15:45:10:20", u"15:45:10.5", u"3:45 P", u"12/8/2026,", u"Dec 8 2026 Tue", u"12/8/2026T15:45",
          u"1234567890/1/1", u"12/8/2026 15:45 +01:00", u"\u00e9", u"December 8th, 2026", u"12/008/2026"})
        EXPECT_EQ(parse(text), "Type Mismatch") << toUtf8(text);

    // Embedded zeros, lone surrogates and huge digit runs are no date either.
    EXPECT_EQ(parse(WideView(u"12/8/2026\0 3 PM", 15)), "Type Mismatch");
    EXPECT_EQ(parse(WideString(1, char16_t(0xD800)) + u"12/8/2026"), "Type Mismatch");
    EXPECT_EQ(parse(u"12/8/" + WideString(100'000, u'9')), "Type Mismatch");
    EXPECT_EQ(parse(WideString(50'000, u' ') + u"12/8/2026" + WideString(50'000, u' ')), "2026-12-08 00:00:00 Tue");
    WideString manyParts;
    for (int i = 0; i < 20'000; ++i)
        manyParts += u"1/";
    EXPECT_EQ(parse(manyParts), "Type Mismatch");
}

TEST_F(DateText, FailureLeavesTheOutputAlone)
{
    double date = 42.5;
    EXPECT_EQ(varDateFromStr(u"13/1/2026", 0, date), DateError::TypeMismatch);
    EXPECT_EQ(varDateFromStr(u"1/1/10000", 0, date), DateError::Overflow);
    EXPECT_EQ(date, 42.5);
}

TEST_F(DateText, FlagsKeepOnlyTheTimeOrTheDate)
{
    EXPECT_EQ(parse(u"12/8/2026 3:45 PM", VAR_TIMEVALUEONLY), "1899-12-30 15:45:00 Sat");
    EXPECT_EQ(parse(u"12/8/2026 3:45 PM", VAR_DATEVALUEONLY), "2026-12-08 00:00:00 Tue");
    EXPECT_EQ(parse(u"12/8/2026", VAR_TIMEVALUEONLY), "1899-12-30 00:00:00 Sat");
    EXPECT_EQ(parse(u"3:45 PM", VAR_DATEVALUEONLY), "1899-12-30 00:00:00 Sat");
    EXPECT_EQ(parse(u"12/8/2026 3:45 PM", VAR_TIMEVALUEONLY | VAR_DATEVALUEONLY), "1899-12-30 15:45:00 Sat");
    EXPECT_EQ(parse(u"12/8/2026 3:45 PM", 0xFFFF'FF00u), "2026-12-08 15:45:00 Tue") << "other bits are ignored";
    EXPECT_EQ(parse(u"13/8/2026 3:45 PM", VAR_TIMEVALUEONLY), "Type Mismatch") << "the whole text is still checked";
}

TEST_F(DateText, BeforeTheEpochUsesTheBackwardDayRule)
{
    double date = 0;
    ASSERT_EQ(varDateFromStr(u"12/29/1899 6:00 AM", 0, date), DateError::None);
    EXPECT_EQ(date, -1.25);
    ASSERT_EQ(varDateFromStr(u"12/29/1899 6:00 PM", 0, date), DateError::None);
    EXPECT_EQ(date, -1.75);
    ASSERT_EQ(varDateFromStr(u"1/1/100 12:00", 0, date), DateError::None);
    EXPECT_EQ(date, -657434.5);
}

// Random texts from the characters dates are made of, plus mutations of good dates. Whatever the
// parser accepts must be a representable date that survives writing and reading back unchanged.
TEST_F(DateText, SurvivesRandomText)
{
    std::mt19937 random(20261208);
    const WideString alphabet = u"0123456789/-.:, APMapmDecJanTueSunday\t\0\uFFFF\xD800x"s;
    const WideString seeds[] = {u"12/8/2026 3:45:00 PM", u"Tue, Dec 8, 2026 15:45", u"8-Dec-26", u"2026-12-08 3PM"};
    int accepted = 0;
    for (int round = 0; round < 200'000; ++round) {
        WideString text;
        if (round % 2 == 0) {
            const std::size_t length = random() % 24;
            for (std::size_t i = 0; i < length; ++i)
                text += alphabet[random() % alphabet.size()];
        } else {
            text = seeds[random() % 4];
            for (int edits = 1 + random() % 3; edits > 0; --edits) {
                const std::size_t at = random() % (text.size() + 1);
                switch (random() % 3) {
                case 0:
                    text.insert(at, 1, alphabet[random() % alphabet.size()]);
                    break;
                case 1:
                    if (at < text.size())
                        text.erase(at, 1);
                    break;
                default:
                    if (at < text.size())
                        text[at] = char16_t(random() % 0x10000);
                    break;
                }
            }
        }
        double date = 0;
        const DateError error = varDateFromStr(text, 0, date);
        if (error != DateError::None) {
            ASSERT_TRUE(error == DateError::TypeMismatch || error == DateError::Overflow) << toUtf8(text);
            continue;
        }
        ++accepted;
        WideString written;
        ASSERT_EQ(varBstrFromDate(date, 0, written), DateError::None) << toUtf8(text);
        double reread = 0;
        ASSERT_EQ(varDateFromStr(written, 0, reread), DateError::None) << toUtf8(text) << " -> " << toUtf8(written);
        ASSERT_EQ(reread, date) << toUtf8(text) << " -> " << toUtf8(written);
    }
    EXPECT_GT(accepted, 1000) << "the mutations should keep many texts valid";
}
