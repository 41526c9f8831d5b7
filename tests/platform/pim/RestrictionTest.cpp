#include "PimTesting.h"

#include "platform/pim/RestrictionParser.h"

#include <chrono>
#include <random>

namespace {

using namespace pim;
using pim_testing::at;
using pim_testing::periodQuery;

Milliseconds instant(const device::OleDateTime& date) { return TimeLine::fromDateTime(date).value(); }

bool parses(std::u16string_view text) { return RestrictionParser::parse(text).has_value(); }

AppointmentRecord record(const std::u16string& subject, const std::u16string& categories = u"")
{
    AppointmentRecord result;
    result.subject = subject;
    result.categories = categories;
    return result;
}

TEST(RestrictionParser, ReadsTheCalendarsPeriodQueryAndItsWindow)
{
    const device::OleDateTime from = at(2026, 12, 1);
    const device::OleDateTime to = at(2026, 12, 31, 23, 59, 59);
    std::optional<Restriction> period = RestrictionParser::parse(periodQuery(from, to));
    ASSERT_TRUE(period);
    EXPECT_EQ(period->window().from, instant(from));
    EXPECT_EQ(period->window().to, instant(to));

    // Overlap: ending exactly at `from` is in (>=), ending a second before it is out; starting
    // exactly at `to` is in, a second after it out.
    const AppointmentRecord any = record(u"x");
    EXPECT_TRUE(period->matches(any, instant(at(2026, 11, 30, 23)), instant(from)));
    EXPECT_FALSE(period->matches(any, instant(at(2026, 11, 30, 23)), instant(from) - 1000));
    EXPECT_TRUE(period->matches(any, instant(to), instant(at(2027, 1, 1, 1))));
    EXPECT_FALSE(period->matches(any, instant(to) + 1000, instant(at(2027, 1, 1, 1))));
    // Spanning the whole period.
    EXPECT_TRUE(period->matches(any, instant(at(2026, 1, 1)), instant(at(2027, 6, 1))));
}

TEST(RestrictionParser, AcceptsTheStoresForms)
{
    for (std::u16string_view text : {
             u"[Subject] = \"Lunch\"",
             u"  [subject]='Lunch'  ",
             u"[Location] <> \"Room \"\"A\"\"\"",
             u"[Start] < \"12/8/2026\" OR [Start] > \"Dec 9, 2026 3:45 PM\"",
             u"([Categories] = \"Holiday\" or [Subject] >= \"M\") and [AllDayEvent] = False",
             u"[AllDayEvent] = \"True\" AND [IsRecurring] <> 0 AND [AllDayEvent] = -1",
             u"((([End] <= \"1/1/2027\")))",
             u"[End]>=\"12/1/2026 12:00:00 AM\"AND[Start]<=\"12/31/2026 11:59:59 PM\"",
             u"",
             u"   \t ",
         })
        EXPECT_TRUE(parses(text)) << device::toUtf8(text);
}

TEST(RestrictionParser, RefusesGarbageWithAReason)
{
    for (std::u16string_view text : {
             u"Subject = \"Lunch\"",             // no brackets
             u"[Subject = \"Lunch\"",            // bracket not closed
             u"[Colour] = \"red\"",              // no such field
             u"[Subject] \"Lunch\"",             // no operator
             u"[Subject] == \"Lunch\"",          // no such operator
             u"[Subject] = Lunch",               // text unquoted
             u"[Subject] = \"Lunch",             // quote not closed
             u"[Start] >= \"the day after\"",    // not a date
             u"[Start] >= \"13/45/2026\"",       // no such date
             u"[AllDayEvent] < True",            // no order on flags
             u"[AllDayEvent] = Maybe",
             u"[Subject] = \"a\" AND",           // dangling keyword
             u"[Subject] = \"a\" ORDER [End] = \"1/1/2027\"",
             u"([Subject] = \"a\"",              // parenthesis not closed
             u"[Subject] = \"a\")",              // stray parenthesis
             u"()",
             u"AND",
         }) {
        std::string reason;
        EXPECT_FALSE(RestrictionParser::parse(text, &reason)) << device::toUtf8(text);
        EXPECT_FALSE(reason.empty()) << device::toUtf8(text);
    }
}

TEST(RestrictionParser, BoundsNestingLengthAndComparisons)
{
    const auto nested = [](int depth) {
        return std::u16string(std::size_t(depth), u'(') + u"[Subject] = \"a\"" + std::u16string(std::size_t(depth), u')');
    };
    EXPECT_TRUE(parses(nested(RestrictionParser::kMaxDepth)));
    EXPECT_FALSE(parses(nested(RestrictionParser::kMaxDepth + 1)));
    EXPECT_FALSE(parses(std::u16string(100'000, u'(')));

    std::u16string many = u"[Subject] = \"a\"";
    for (std::size_t i = 1; i < RestrictionParser::kMaxComparisons; ++i)
        many += u" OR [Subject] = \"a\"";
    EXPECT_TRUE(parses(many));
    EXPECT_FALSE(parses(many + u" OR [Subject] = \"a\""));

    EXPECT_FALSE(parses(u"[Subject] = \"" + std::u16string(RestrictionParser::kMaxLength, u'x') + u"\""));
}

TEST(Restriction, ComparesTextsWithoutCaseAndCategoriesAsAList)
{
    const AppointmentRecord lunch = record(u"Lunch with Ann", u"Business, Holiday");
    const auto matches = [&](std::u16string_view text) {
        std::optional<Restriction> restriction = RestrictionParser::parse(text);
        EXPECT_TRUE(restriction) << device::toUtf8(text);
        return restriction && restriction->matches(lunch, 0, 0);
    };
    EXPECT_TRUE(matches(u"[Subject] = \"LUNCH WITH ANN\""));
    EXPECT_FALSE(matches(u"[Subject] = \"Lunch\""));
    EXPECT_TRUE(matches(u"[Subject] > \"Breakfast\" AND [Subject] < \"Supper\""));
    EXPECT_TRUE(matches(u"[Categories] = \"holiday\""));
    EXPECT_TRUE(matches(u"[Categories] = \"Business, Holiday\""));
    EXPECT_FALSE(matches(u"[Categories] = \"Personal\""));
    EXPECT_TRUE(matches(u"[Categories] <> \"Personal\""));
    EXPECT_FALSE(matches(u"[Categories] <> \"Business\""));
    EXPECT_TRUE(matches(u"[Subject] = \"x\" OR [Categories] = \"Business\" AND [AllDayEvent] = False"));
    EXPECT_FALSE(matches(u"([Subject] = \"x\" OR [Categories] = \"Business\") AND [AllDayEvent] = True"));
    EXPECT_FALSE(matches(u"[IsRecurring] = True"));
}

TEST(Restriction, WindowFollowsAndOrAndTheFieldsThatBoundTime)
{
    const auto window = [](std::u16string_view text) { return RestrictionParser::parse(text).value().window(); };
    const Milliseconds dec1 = instant(at(2026, 12, 1));
    const Milliseconds dec31 = instant(at(2026, 12, 31));

    // Texts leave the whole time line.
    Restriction::Window all = window(u"[Subject] = \"a\"");
    EXPECT_EQ(all.from, TimeLine::earliest());
    EXPECT_EQ(all.to, TimeLine::latest());
    // A start after a day means an end after it too; an end before a day, a start before it.
    EXPECT_EQ(window(u"[Start] >= \"12/1/2026\"").from, dec1);
    EXPECT_EQ(window(u"[End] <= \"12/31/2026\"").to, dec31);
    // OR takes the hull, AND the intersection; a contradiction is empty.
    Restriction::Window either = window(u"[Start] = \"12/1/2026\" OR [Start] = \"12/31/2026\"");
    EXPECT_EQ(either.from, dec1);
    EXPECT_EQ(either.to, dec31);
    EXPECT_TRUE(window(u"[Start] >= \"12/31/2026\" AND [End] <= \"12/1/2026\"").isEmpty());
    EXPECT_FALSE(window(u"[Start] <> \"12/1/2026\"").isEmpty());
}

// Whatever the text, parsing ends quickly, and what parses can be evaluated.
TEST(RestrictionParser, SurvivesRandomText)
{
    const std::u16string pieces[] = {u"[Start]", u"[End]", u"[Subject]", u"[AllDayEvent]", u"[", u"]", u"=", u"<>",
                                     u"<=", u">", u"\"", u"'", u"\"12/8/2026\"", u"\"x\"", u"(", u")", u" AND ",
                                     u" OR ", u"True", u" ", u"\xD800", std::u16string(1, u'\0'), u"\"\"", u"3:45 PM", u"Dec"};
    std::mt19937 random(8122026);
    const AppointmentRecord any = record(u"x", u"y");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int parsed = 0;
    for (int round = 0; round < 20'000 && std::chrono::steady_clock::now() < deadline; ++round) {
        std::u16string text;
        const int length = int(random() % 24);
        for (int i = 0; i < length; ++i) {
            if (random() % 4 == 0)
                text += char16_t(random() % 0x10000);
            else
                text += pieces[random() % std::size(pieces)];
        }
        std::optional<Restriction> restriction = RestrictionParser::parse(text);
        if (restriction) {
            ++parsed;
            restriction->window();
            restriction->matches(any, 0, 1000);
        }
    }
    EXPECT_GT(parsed, 0); // the generator does reach the grammar
}

} // namespace
