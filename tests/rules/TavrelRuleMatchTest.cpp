// Matching of single rules and of the default list: operators, wildcards, category list tests,
// recipient comparisons, letter case and the parsed pattern kept up to date.

#include "RulesTestSupport.h"
#include "rules/TavrelDefaultRules.h"
#include "rules/TavrelRulePattern.h"
#include "rules/TavrelRules.h"

#include <gtest/gtest.h>
#include <random>

namespace {

bool matches(const char16_t* field, const char16_t* pattern, const char16_t* subject, const char16_t* categories = u"",
             std::int32_t recipients = 0)
{
    CTavrelRules rules;
    rules.AddTail(CTavrelRule(field, pattern, u"icon"));
    return rules.Match(subject, categories, recipients) != nullptr;
}

std::u16string iconFor(CTavrelRules& rules, const char16_t* subject, const char16_t* categories = u"",
                       std::int32_t recipients = 0)
{
    const CTavrelRule* rule = rules.Match(subject, categories, recipients);
    return rule ? std::u16string(rule->GetIcon().GetString()) : u"<none>";
}

} // namespace

TEST(TavrelRuleMatch, SubjectWildcardsDecideTheComparisonAndCaseIsIgnored)
{
    EXPECT_TRUE(matches(u"Subject", u"*Birthday*", u"Happy BIRTHDAY, Ann"));
    EXPECT_FALSE(matches(u"Subject", u"*Birthday*", u"Birth day"));
    EXPECT_TRUE(matches(u"Subject", u"New Year*", u"new year's eve"));
    EXPECT_FALSE(matches(u"Subject", u"New Year*", u"Happy New Year"));
    EXPECT_TRUE(matches(u"Subject", u"*Day", u"Boxing day"));
    EXPECT_FALSE(matches(u"Subject", u"*Day", u"Day off"));
    EXPECT_TRUE(matches(u"Subject", u"Easter", u"easter"));
    EXPECT_FALSE(matches(u"Subject", u"Easter", u"Easter Monday"));
    // Blanks around the value do not count; an asterisk inside the value is an ordinary character.
    EXPECT_TRUE(matches(u"Subject", u"  Easter  ", u"EASTER"));
    EXPECT_TRUE(matches(u"Subject", u"a*b", u"A*B"));
    EXPECT_FALSE(matches(u"Subject", u"a*b", u"axb"));
    // A lone asterisk matches everything, an empty value only the empty subject.
    EXPECT_TRUE(matches(u"Subject", u"*", u""));
    EXPECT_TRUE(matches(u"Subject", u"*", u"anything"));
    EXPECT_TRUE(matches(u"Subject", u"**", u"anything"));
    EXPECT_TRUE(matches(u"Subject", u"", u""));
    EXPECT_FALSE(matches(u"Subject", u"", u"x"));
    // The operator is ignored for subjects; only ASCII letters change case.
    EXPECT_TRUE(matches(u"Subject", u"<>*Lunch*", u"Lunch"));
    EXPECT_TRUE(matches(u"Subject", u">=Lunch", u"lunch"));
    EXPECT_FALSE(matches(u"Subject", u"\u00e9t\u00e9", u"\u00c9T\u00c9"));
    EXPECT_TRUE(matches(u"Subject", u"caf\u00e9", u"CAF\u00e9"));
}

TEST(TavrelRuleMatch, CategoryListTestsArePrefixSuffixAndMiddleItem)
{
    EXPECT_TRUE(matches(u"Category", u"Meeting", u"", u"Business, Meeting, Personal"));
    EXPECT_TRUE(matches(u"Category", u"Meeting", u"", u"Meeting"));
    EXPECT_TRUE(matches(u"Category", u"Meeting", u"", u"Meetings")) << "a plain prefix test";
    EXPECT_TRUE(matches(u"Category", u"meeting", u"", u"Personal, MEETING"));
    EXPECT_TRUE(matches(u"Category", u"=Meeting", u"", u"Personal, Meeting"));
    EXPECT_FALSE(matches(u"Category", u"Meeting", u"", u"Business, Meetings, Personal"));
    EXPECT_FALSE(matches(u"Category", u"Meeting", u"", u""));
    EXPECT_TRUE(matches(u"Category", u"<>Meeting", u"", u"Personal"));
    EXPECT_FALSE(matches(u"Category", u"<>Meeting", u"", u"Meeting"));
    EXPECT_FALSE(matches(u"Category", u"<> Meeting ", u"", u"Holiday, Meeting, Travel"));
    // Operators other than "=" and "<>" never match a category.
    EXPECT_FALSE(matches(u"Category", u">Meeting", u"", u"Meeting"));
    EXPECT_FALSE(matches(u"Category", u"==Meeting", u"", u"Meeting"));
}

TEST(TavrelRuleMatch, RecipientCountsCompareAsNumbers)
{
    struct Case {
        const char16_t* pattern;
        std::int32_t recipients;
        bool expected;
    };
    const Case cases[] = {
        {u">=2", 1, false}, {u">=2", 2, true}, {u">=2", 3, true}, {u">0", 0, false}, {u">0", 1, true},
        {u"<3", 2, true},   {u"<3", 3, false}, {u"<=3", 3, true}, {u"<=3", 4, false}, {u"<>1", 1, false},
        {u"<>1", 12, true}, {u"12", 12, true}, {u"=12", 12, true}, {u"= 7 ", 7, true},
        // No digits read as 0; a sign and leading blanks are allowed; reading stops at a non-digit.
        {u"abc", 0, true}, {u"abc", 1, false}, {u">-3", -2, true}, {u"> -3", -4, false},
        {u"=+5", 5, true}, {u"=5x9", 5, true},
        // Numbers beyond the 32-bit range stop at its ends instead of wrapping round.
        {u"<99999999999", 2147483647, false}, {u"<=99999999999", 2147483647, true},
        {u">-99999999999", -2147483647 - 1, false},
        // A run of operator characters that is no operator never matches.
        {u"=<5", 1, false}, {u"><5", 1, false}, {u"<<5", 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matches(u"# Recipients", c.pattern, u"", u"", c.recipients), c.expected)
            << std::string(c.pattern, c.pattern + std::char_traits<char16_t>::length(c.pattern)) << " with "
            << c.recipients;
    }
}

TEST(TavrelRuleMatch, UnknownFieldsNeverMatchAndFieldNamesKeepTheirCase)
{
    EXPECT_FALSE(matches(u"Location", u"*", u"anything", u"anything", 5));
    EXPECT_FALSE(matches(u"subject", u"*", u"anything"));
    EXPECT_FALSE(matches(u"category", u"Meeting", u"", u"Meeting"));
    EXPECT_FALSE(matches(u"# recipients", u">0", u"", u"", 5));
    EXPECT_FALSE(matches(u"", u"", u""));
}

TEST(TavrelRuleMatch, ChangingARuleChangesWhatItMatches)
{
    CTavrelRule rule(u"Subject", u"*Golf*", u"golf.gif");
    EXPECT_TRUE(rule.Matches(u"GOLF DAY", u"", 0));
    rule.SetPattern(u"Tennis*");
    EXPECT_FALSE(rule.Matches(u"GOLF DAY", u"", 0));
    EXPECT_TRUE(rule.Matches(u"TENNIS CLUB", u"", 0));
    rule.SetField(u"Category");
    EXPECT_FALSE(rule.Matches(u"TENNIS CLUB", u"", 0));
    EXPECT_TRUE(rule.Matches(u"", u"TENNIS*", 0));
    rule.Set(u"# Recipients", u">1", u"x.gif");
    EXPECT_TRUE(rule.Matches(u"", u"", 2));
    const CTavrelRule copy = rule;
    rule.SetPattern(u">5");
    EXPECT_TRUE(copy.Matches(u"", u"", 2)) << "a copy keeps its own parsed pattern";
    EXPECT_FALSE(rule.Matches(u"", u"", 2));
}

TEST(TavrelRuleMatch, RulesAreEqualOnlyWhenAllThreeTextsAreEqualInCase)
{
    const CTavrelRule rule(u"Subject", u"*Golf*", u"\\Icons\\Golf.gif");
    EXPECT_EQ(rule, CTavrelRule(u"Subject", u"*Golf*", u"\\Icons\\Golf.gif"));
    EXPECT_NE(rule, CTavrelRule(u"Subject", u"*golf*", u"\\Icons\\Golf.gif"));
    EXPECT_NE(rule, CTavrelRule(u"Subject", u"*Golf*", u"\\icons\\golf.gif"));
    EXPECT_NE(rule, CTavrelRule(u"Category", u"*Golf*", u"\\Icons\\Golf.gif"));
    EXPECT_EQ(CTavrelRule(u"Subject"), CTavrelRule(u"Subject", u"", nullptr)) << "missing arguments are empty";
}

TEST(TavrelDefaultRules, FirstMatchWinsInTheDefaultOrder)
{
    CTavrelRules rules;
    CTavrelDefaultRules::AddTo(rules, u"\\Program Files\\Tavrel\\Tavrel.exe", 0x0409);
    ASSERT_EQ(rules.GetCount(), 55u);
    const std::u16string icons = u"\\Program Files\\Tavrel\\Icons\\";
    EXPECT_EQ(iconFor(rules, u"Happy birthday, Ann"), icons + u"Cake.gif");
    EXPECT_EQ(iconFor(rules, u"Team meeting about birthday plans"), icons + u"Cake.gif");
    EXPECT_EQ(iconFor(rules, u"Lunch", u"", 2), icons + u"Handshake.gif") << "the recipients rule comes first";
    EXPECT_EQ(iconFor(rules, u"Lunch"), icons + u"Hamburger.gif");
    EXPECT_EQ(iconFor(rules, u"Easter Monday"), u"<none>");
    EXPECT_EQ(iconFor(rules, u"easter"), icons + u"Egg.gif");
    EXPECT_EQ(iconFor(rules, u"Easter Sunday"), icons + u"Christian.gif");
    EXPECT_EQ(iconFor(rules, u"Review", u"Business, Meeting, Personal"), icons + u"Handshake.gif");
    EXPECT_EQ(iconFor(rules, u"Review", u"Meetings"), icons + u"Handshake.gif");
    EXPECT_EQ(iconFor(rules, u"Review", u"Personal, ToDo"), icons + u"Chkbox.gif");
    EXPECT_EQ(iconFor(rules, u"Call Bob", u"ToDo"), icons + u"Phone2.gif");
    EXPECT_EQ(iconFor(rules, u"See Dr. Who"), icons + u"Medical.gif");
    EXPECT_EQ(iconFor(rules, u"Football"), icons + u"Football.gif");

    CTavrelRules rules2;
    CTavrelDefaultRules::AddTo(rules2, u"\\Program Files\\Tavrel\\Tavrel.exe", 0x0409);
    EXPECT_EQ(rules, rules2);
    const CTavrelRule* first = rules.First();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, CTavrelRule(u"Subject", u"*BIRTHDAY*", u"\\Program Files\\Tavrel\\Icons\\Cake.gif"));
    const CTavrelRule* last = rules.GetAt(rules.GetTailPosition());
    EXPECT_EQ(*last, CTavrelRule(u"Category", u"ToDo", u"\\Program Files\\Tavrel\\Icons\\Chkbox.gif"));
    EXPECT_EQ(*rules.GetAt(25), CTavrelRule(u"# Recipients", u">0", u"\\Program Files\\Tavrel\\Icons\\Handshake.gif"));
}

TEST(TavrelDefaultRules, FootballFollowsTheSublanguageAndIconsFollowTheProgramFolder)
{
    auto footballIcon = [](std::uint16_t language) {
        CTavrelRules rules;
        CTavrelDefaultRules::AddTo(rules, u"\\Tavrel.exe", language);
        return std::u16string(rules.GetAt(52)->GetIcon().GetString());
    };
    EXPECT_EQ(footballIcon(0x0409), u"\\Icons\\Football.gif");
    EXPECT_EQ(footballIcon(0x0407), u"\\Icons\\Football.gif") << "German (Germany) has sublanguage 1 too";
    EXPECT_EQ(footballIcon(0x0809), u"\\Icons\\Soccer.gif");
    EXPECT_EQ(footballIcon(0x0C0A), u"\\Icons\\Soccer.gif");

    EXPECT_EQ(std::u16string(CTavrelDefaultRules::GetProgramFolder(u"\\Program Files\\Tavrel\\Tavrel.exe")),
              u"\\Program Files\\Tavrel\\");
    EXPECT_EQ(std::u16string(CTavrelDefaultRules::GetProgramFolder(u"Tavrel.exe")), u"");
    EXPECT_EQ(std::u16string(CTavrelDefaultRules::JoinIconPath(u"\\Apps\\", u" \\\\ Icons\\A.gif")),
              u"\\Apps\\Icons\\A.gif");
}

namespace {

// Matching as plainly written out, without the parsed pattern or the character sets.
bool plainMatch(std::u16string field, std::u16string pattern, std::u16string subject, std::u16string categories,
                std::int32_t recipients)
{
    auto upper = [](std::u16string text) {
        for (char16_t& c : text)
            c = device::foldUpper(c);
        return text;
    };
    std::size_t run = 0;
    while (run < pattern.size() && (pattern[run] == u'=' || pattern[run] == u'<' || pattern[run] == u'>'))
        ++run;
    const std::u16string op = pattern.substr(0, run);
    std::u16string value = pattern.substr(run);
    value.erase(0, value.find_first_not_of(u' ') == std::u16string::npos ? value.size() : value.find_first_not_of(u' '));
    while (!value.empty() && value.back() == u' ')
        value.pop_back();
    value = upper(value);
    subject = upper(subject);
    categories = upper(categories);
    if (field == u"Subject") {
        const bool lead = !value.empty() && value.front() == u'*';
        const bool trail = !value.empty() && value.back() == u'*';
        if (lead && trail)
            return subject.find(value.size() < 2 ? u"" : value.substr(1, value.size() - 2)) != std::u16string::npos;
        if (lead)
            return subject.ends_with(value.substr(1));
        if (trail)
            return subject.starts_with(value.substr(0, value.size() - 1));
        return subject == value;
    }
    if (field == u"Category") {
        const bool found = categories.starts_with(value) || categories.ends_with(value) ||
                           categories.find(u", " + value + u",") != std::u16string::npos;
        return (op.empty() || op == u"=") ? found : op == u"<>" ? !found : false;
    }
    return false;
}

} // namespace

TEST(TavrelRuleMatch, TheParsedFormMatchesExactlyWhatThePlainRulesSay)
{
    std::mt19937 random(99);
    const std::u16string letters = u"abAB, *=<>\u00e9";
    auto text = [&](int most) {
        std::u16string out;
        for (int n = int(random() % most); n > 0; --n)
            out.push_back(letters[random() % letters.size()]);
        return out;
    };
    int matched = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::u16string field = random() % 2 ? u"Subject" : u"Category";
        const std::u16string pattern = text(6), subject = text(8), categories = text(10);
        CTavrelRule rule(field.c_str(), pattern.c_str(), u"i");
        std::u16string upperSubject, upperCategories;
        CTavrelRulePattern::UpperCase(subject, upperSubject);
        CTavrelRulePattern::UpperCase(categories, upperCategories);
        const bool expected = plainMatch(field, pattern, subject, categories, 0);
        matched += expected;
        ASSERT_EQ(rule.Matches(upperSubject, upperCategories, 0), expected)
            << device::toUtf8(field) << " [" << device::toUtf8(pattern) << "] on [" << device::toUtf8(subject)
            << "] [" << device::toUtf8(categories) << "]";
    }
    EXPECT_GT(matched, 1000) << "the random cases must exercise matches as well as misses";
}
