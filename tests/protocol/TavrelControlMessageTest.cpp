#include "protocol/TavrelControlMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> arguments(const char16_t* text)
{
    std::vector<std::string> out;
    const CTavrelControlMessage message(text);
    for (const CQoString& argument : message.GetArguments())
        out.push_back(device::toUtf8(argument.View()));
    return out;
}

using Args = std::vector<std::string>;

TEST(TavrelControlMessageTest, NameIsTheTextBeforeTheFirstColon)
{
    EXPECT_EQ(device::toUtf8(CTavrelControlMessage(u"Initialize").GetName().View()), "Initialize");
    EXPECT_EQ(device::toUtf8(CTavrelControlMessage(u"SetCurrentDate:\"1/2/2026 10:00:00 AM\"").GetName().View()),
              "SetCurrentDate");
    EXPECT_TRUE(CTavrelControlMessage(u"showcalendar:\"a\"").HasName(u"ShowCalendar"));
    EXPECT_TRUE(CTavrelControlMessage(u":\"a\"").GetName().IsEmpty());
}

TEST(TavrelControlMessageTest, QuotedArgumentsSeparatedBySemicolons)
{
    EXPECT_EQ(arguments(u"ShowCalendar:\"Projects\";\"Monthly\";\"3/4/2026\""), (Args{"Projects", "Monthly", "3/4/2026"}));
    // A colon inside an argument belongs to it.
    EXPECT_EQ(arguments(u"SetCurrentDate:\"3/4/2026 10:30:00 AM\""), (Args{"3/4/2026 10:30:00 AM"}));
    EXPECT_TRUE(arguments(u"Initialize").empty());
    EXPECT_TRUE(arguments(u"Initialize:").empty());
}

TEST(TavrelControlMessageTest, EmptyQuotedValuesAreArgumentsWhereverTheyStand)
{
    EXPECT_EQ(arguments(u"X:\"a\";\"\";\"c\""), (Args{"a", "", "c"}));
    EXPECT_EQ(arguments(u"ShowCalendar:\"\";\"Weekly\""), (Args{"", "Weekly"}));
    EXPECT_EQ(arguments(u"X:\"a\";\"\""), (Args{"a", ""}));
    EXPECT_EQ(arguments(u"X:\"\""), (Args{""}));
    EXPECT_EQ(arguments(u"X:\"\";\"\";\"\""), (Args{"", "", ""}));
}

TEST(TavrelControlMessageTest, EncodedQuotesComeBackAsQuotes)
{
    EXPECT_EQ(arguments(u"X:\"say %22hi%22\";\"%22\""), (Args{"say \"hi\"", "\""}));
    // Unquoted text is taken unchanged, "%22" and all.
    EXPECT_EQ(arguments(u"X:a%22b"), (Args{"a%22b"}));
}

TEST(TavrelControlMessageTest, OnlyAnUnquotedSemicolonSeparatesAndOnlyQuotedTextIsDecoded)
{
    // A quoted ";" is a value like any other (a category named ";", say), not a separator.
    EXPECT_EQ(arguments(u"X:\"a\";\";\";\"b\""), (Args{"a", ";", "b"}));
    EXPECT_EQ(arguments(u"X:\";\""), (Args{";"}));
    EXPECT_EQ(arguments(u"X:\";\";\";\""), (Args{";", ";"}));
    // Unquoted text between quoted values stays as it is, "%22" and all.
    EXPECT_EQ(arguments(u"X:\"a\"x%22y\"b\""), (Args{"a", "x%22y", "b"}));
    EXPECT_EQ(arguments(u"X:\"a%22\";%22"), (Args{"a\"", ";%22"}));
}

TEST(TavrelControlMessageTest, UnquotedTextIsOneArgumentAsItStands)
{
    EXPECT_EQ(arguments(u"SetCurrentView:Daily"), (Args{"Daily"}));
    EXPECT_EQ(arguments(u"X:a;b; c"), (Args{"a;b; c"}));
}

TEST(TavrelControlMessageTest, MalformedQuotingNeverLosesOrInventsText)
{
    // Text between quoted values that is not a lone separator is an argument.
    EXPECT_EQ(arguments(u"X:\"a\"junk\"b\""), (Args{"a", "junk", "b"}));
    EXPECT_EQ(arguments(u"X:\"a\";;\"b\""), (Args{"a", ";;", "b"}));
    EXPECT_EQ(arguments(u"X:lead\"a\""), (Args{"lead", "a"}));
    // An unterminated quote runs to the end; one at the very end opens nothing.
    EXPECT_EQ(arguments(u"X:\"a\";\"open"), (Args{"a", "open"}));
    EXPECT_EQ(arguments(u"X:\"a\";\""), (Args{"a"}));
    EXPECT_EQ(arguments(u"X:\""), (Args{}));
}

TEST(TavrelControlMessageTest, ComposeQuotesEachArgumentAndSplitReadsThemBack)
{
    const std::vector<CQoString> values = {u"Projects", u"", u"He said \"no\"", u"a;b", u"%22"};
    CQoString text = CTavrelControlMessage::Compose(u"Test", values);
    EXPECT_EQ(device::toUtf8(text.View()), "Test:\"Projects\";\"\";\"He said %22no%22\";\"a;b\";\"%22\"");
    CTavrelControlMessage parsed(text);
    ASSERT_EQ(parsed.GetArgumentCount(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(device::toUtf8(parsed.GetArgument(i).View()), device::toUtf8(values[std::size_t(i)].View())) << i;
    // "%22" typed by the sender cannot be told from an encoded quote: it arrives as a quote.
    EXPECT_EQ(device::toUtf8(parsed.GetArgument(4).View()), "\"");
    EXPECT_TRUE(parsed.GetArgument(5).IsEmpty());
    EXPECT_TRUE(parsed.GetArgument(-1).IsEmpty());

    EXPECT_EQ(device::toUtf8(CTavrelControlMessage::Compose(u"OnShowClient", {}).View()), "OnShowClient");
}

} // namespace
