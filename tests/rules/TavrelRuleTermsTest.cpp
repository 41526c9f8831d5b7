// A rule's test as Rule Details edits it: operator words per field, terms to pattern and back, and
// the lines of the Rules list.

#include "rules/TavrelRuleTerms.h"
#include "rules/TavrelDefaultRules.h"
#include "rules/TavrelRule.h"
#include "rules/TavrelRuleOperators.h"
#include "rules/TavrelRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Ops = CTavrelRuleOperators;

std::u16string Str(const CQoString& text) { return std::u16string(text.View()); }

std::vector<std::u16string> Words(std::span<const char16_t* const> words)
{
    return std::vector<std::u16string>(words.begin(), words.end());
}

struct Derived {
    std::u16string operatorWord;
    std::u16string text;
};

Derived Derive(const char16_t* field, const char16_t* pattern)
{
    const CTavrelRuleTerms terms = CTavrelRuleTerms::FromPattern(field, pattern);
    return {Str(terms.GetOperator()), Str(terms.GetText())};
}

std::u16string Line(const char16_t* field, const char16_t* pattern)
{
    return Str(CTavrelRuleTerms::ListLine(CTavrelRule(field, pattern, u"\\x.gif")));
}

TEST(TavrelRuleOperatorsTest, EachFieldOffersItsOperatorsAndPreSelectsOne)
{
    EXPECT_EQ(Words(Ops::Fields()), (std::vector<std::u16string>{u"Subject", u"Category", u"# Recipients"}));
    EXPECT_EQ(Words(Ops::ForField(u"Subject")),
              (std::vector<std::u16string>{u"=", u"Not", u"Starts with", u"Ends with", u"Contains"}));
    EXPECT_EQ(Words(Ops::ForField(u"Category")), (std::vector<std::u16string>{u"=", u"Not"}));
    EXPECT_EQ(Words(Ops::ForField(u"# Recipients")),
              (std::vector<std::u16string>{u"=", u"Not", u">", u"<", u">=", u"<="}));
    EXPECT_EQ(std::u16string(Ops::PreSelected(u"Subject")), u"Contains");
    EXPECT_EQ(std::u16string(Ops::PreSelected(u"Category")), u"=");
    EXPECT_EQ(std::u16string(Ops::PreSelected(u"# Recipients")), u">");
    // Field names are exact, as matching reads them: "subject" is a field of its own that never
    // matches, and it may keep any operator its pattern has.
    EXPECT_FALSE(Ops::IsKnownField(u"subject"));
    EXPECT_EQ(Ops::ForField(u"subject").size(), 9u);
    EXPECT_EQ(std::u16string(Ops::PreSelected(u"subject")), u"=");
}

TEST(TavrelRuleTermsTest, EachOperatorWordBuildsItsPattern)
{
    struct Case {
        const char16_t* operatorWord;
        const char16_t* pattern;
    } cases[] = {
        {u"=", u"Lunch"},          {u"Not", u"<>Lunch"},      {u"Starts with", u"Lunch*"},
        {u"Ends with", u"*Lunch"}, {u"Contains", u"*Lunch*"}, {u">", u">Lunch"},
        {u"<", u"<Lunch"},         {u">=", u">=Lunch"},       {u"<=", u"<=Lunch"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Str(CTavrelRuleTerms(u"Subject", c.operatorWord, u"Lunch").BuildPattern()), c.pattern)
            << std::string(c.operatorWord, c.operatorWord + std::u16string_view(c.operatorWord).size());
}

TEST(TavrelRuleTermsTest, PatternsGiveBackOperatorAndText)
{
    EXPECT_EQ(Derive(u"# Recipients", u">0").operatorWord, u">");
    EXPECT_EQ(Derive(u"# Recipients", u">0").text, u"0");
    EXPECT_EQ(Derive(u"Category", u"<>Meeting").operatorWord, u"Not");
    EXPECT_EQ(Derive(u"Category", u"<>Meeting").text, u"Meeting");
    EXPECT_EQ(Derive(u"Category", u"Meeting").operatorWord, u"=");
    EXPECT_EQ(Derive(u"Subject", u"*BIRTHDAY*").operatorWord, u"Contains");
    EXPECT_EQ(Derive(u"Subject", u"*BIRTHDAY*").text, u"BIRTHDAY");
    EXPECT_EQ(Derive(u"Subject", u"New Year*").operatorWord, u"Starts with");
    EXPECT_EQ(Derive(u"Subject", u"New Year*").text, u"New Year");
    EXPECT_EQ(Derive(u"Subject", u"*Day").operatorWord, u"Ends with");
    // Blanks around the value go; an explicit "=" is the same as none.
    EXPECT_EQ(Derive(u"Subject", u"=  Easter  ").operatorWord, u"=");
    EXPECT_EQ(Derive(u"Subject", u"=  Easter  ").text, u"Easter");
    EXPECT_EQ(Derive(u"# Recipients", u">=  2").operatorWord, u">=");
    EXPECT_EQ(Derive(u"# Recipients", u">=  2").text, u"2");
    // Only one asterisk comes off each end; the ones inside stay.
    EXPECT_EQ(Derive(u"Subject", u"**a*b**").text, u"*a*b*");
    EXPECT_EQ(Derive(u"Subject", u"*").text, u"");
    // A run of operator characters that is no operator stays as it is.
    EXPECT_EQ(Derive(u"# Recipients", u"=<3").operatorWord, u"=<");
}

TEST(TavrelRuleTermsTest, ATextBeginningWithAnOperatorCharacterIsTakenForTheOperatorAndSaidSo)
{
    auto stays = [](const char16_t* operatorWord, const char16_t* text) {
        return CTavrelRuleTerms(u"Subject", operatorWord, text).TextStaysText();
    };
    for (const char16_t* word : {u"=", u"Not", u"Starts with", u"Ends with", u"Contains", u">", u"<", u">=", u"<="})
        EXPECT_TRUE(stays(word, u"Lunch <3 =)"));
    // Right behind the operator (or at the start) the characters join it.
    EXPECT_FALSE(stays(u"=", u">5"));
    EXPECT_FALSE(stays(u"=", u"=5"));
    EXPECT_FALSE(stays(u"Starts with", u"<b>"));
    EXPECT_FALSE(stays(u"Not", u"=x"));
    EXPECT_FALSE(stays(u">", u"=2"));
    EXPECT_FALSE(stays(u"<", u">2"));
    // Behind an asterisk they are text.
    EXPECT_TRUE(stays(u"Ends with", u">5"));
    EXPECT_TRUE(stays(u"Contains", u"=5"));
    // What such terms would have become.
    EXPECT_EQ(Derive(u"Subject", CTavrelRuleTerms(u"Subject", u"=", u">5").BuildPattern().GetString()).operatorWord,
              u">");
}

TEST(TavrelRuleTermsTest, EveryDefaultRuleComesBackAsItWasThroughItsTerms)
{
    CTavrelRules rules;
    CTavrelDefaultRules::AddTo(rules, u"\\Program Files\\Tavrel\\Tavrel.exe", 0x0409);
    ASSERT_EQ(rules.GetCount(), CTavrelDefaultRules::Count);
    for (const CTavrelRule* rule = rules.First(); rule; rule = rules.Next()) {
        const CTavrelRuleTerms terms = CTavrelRuleTerms::FromRule(*rule);
        const std::vector<std::u16string> offered = Words(Ops::ForField(rule->GetField().View()));
        EXPECT_NE(std::find(offered.begin(), offered.end(), Str(terms.GetOperator())), offered.end())
            << "the operator of every default rule is one its field offers";
        EXPECT_EQ(Str(terms.BuildPattern()), Str(rule->GetPattern()));
    }
}

TEST(TavrelRuleTermsTest, ListLinesShowFieldOperatorAndQuotedText)
{
    EXPECT_EQ(Line(u"Subject", u"Lunch*"), u"[Subject] Starts with \"Lunch\"");
    EXPECT_EQ(Line(u"Subject", u"*BIRTHDAY*"), u"[Subject] Contains \"BIRTHDAY\"");
    EXPECT_EQ(Line(u"Subject", u"Easter"), u"[Subject] = \"Easter\"");
    EXPECT_EQ(Line(u"# Recipients", u">0"), u"[# Recipients] > \"0\"");
    // A pattern beginning with "<>" shows that operator rather than its word.
    EXPECT_EQ(Line(u"Category", u"<>Meeting"), u"[Category] <> \"Meeting\"");
    EXPECT_EQ(Line(u"Subject", u"<>*Call*"), u"[Subject] <> \"Call\"");
    // A text longer than any formatted line is shown whole.
    const std::u16string longText(3000, u'x');
    EXPECT_EQ(Line(u"Subject", longText.c_str()).size(), std::u16string(u"[Subject] = \"\"").size() + 3000);
}

} // namespace
