// The rule list's editing operations, iteration, copies and equality, and matching while another
// thread replaces the list.

#include "RulesTestSupport.h"
#include "rules/TavrelRules.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using rules_test::rulesOf;
using rules_test::Triple;
using rules_test::triples;

namespace {

CTavrelRule rule(const char16_t* pattern) { return CTavrelRule(u"Subject", pattern, u"i"); }

std::vector<std::u16string> patterns(CTavrelRules& rules)
{
    std::vector<std::u16string> out;
    for (const CTavrelRule* r = rules.First(); r; r = rules.Next())
        out.emplace_back(r->GetPattern().GetString());
    return out;
}

using Patterns = std::vector<std::u16string>;

} // namespace

TEST(TavrelRulesList, AddRemoveAndMoveKeepEvaluationOrder)
{
    CTavrelRules rules;
    EXPECT_EQ(rules.AddTail(rule(u"b")), 1u);
    EXPECT_EQ(rules.AddTail(rule(u"c")), 2u);
    EXPECT_EQ(rules.AddHead(rule(u"a")), 1u);
    rules.AddTail(rule(u"b"));
    EXPECT_EQ(patterns(rules), (Patterns{u"a", u"b", u"c", u"b"}));

    EXPECT_TRUE(rules.Remove(rule(u"b")));
    EXPECT_EQ(patterns(rules), (Patterns{u"a", u"c", u"b"})) << "only the first equal rule goes";
    EXPECT_FALSE(rules.Remove(CTavrelRule(u"Subject", u"a", u"other icon")));
    EXPECT_EQ(rules.GetCount(), 3u);

    EXPECT_EQ(rules.MoveUp(3), 2u);
    EXPECT_EQ(patterns(rules), (Patterns{u"a", u"b", u"c"}));
    EXPECT_EQ(rules.MoveUp(1), 1u);
    EXPECT_EQ(rules.MoveDown(1), 2u);
    EXPECT_EQ(patterns(rules), (Patterns{u"b", u"a", u"c"}));
    EXPECT_EQ(rules.MoveDown(3), 3u);
    EXPECT_EQ(rules.MoveUp(0), 0u);
    EXPECT_EQ(rules.MoveDown(4), 0u);
    EXPECT_EQ(patterns(rules), (Patterns{u"b", u"a", u"c"}));

    EXPECT_TRUE(rules.SetAt(2, CTavrelRule(u"Category", u"x", u"y")));
    EXPECT_FALSE(rules.SetAt(4, rule(u"z")));
    ASSERT_NE(rules.GetAt(2), nullptr);
    EXPECT_TRUE(rules.GetAt(2)->Matches(u"", u"X", 0)) << "a replaced rule matches by its new pattern";
    EXPECT_EQ(rules.GetAt(0), nullptr);

    rules.RemoveAll();
    EXPECT_TRUE(rules.IsEmpty());
    EXPECT_EQ(rules.First(), nullptr);
    EXPECT_EQ(rules.GetHeadPosition(), 0u);
}

TEST(TavrelRulesList, IterationStartsWithFirstAndRemoveResetsIt)
{
    CTavrelRules rules = rulesOf({{u"Subject", u"a", u"1"}, {u"Subject", u"b", u"2"}, {u"Subject", u"c", u"3"}});
    EXPECT_EQ(rules.Next(), nullptr) << "no iteration before First";
    ASSERT_NE(rules.First(), nullptr);
    rules.AddHead(rule(u"0"));
    const CTavrelRule* next = rules.Next();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(std::u16string(next->GetPattern()), u"b") << "adding at the head does not repeat a rule";
    rules.Remove(rule(u"0"));
    EXPECT_EQ(rules.Next(), nullptr);
}

TEST(TavrelRulesList, CopiesAreDeepAndCompareByRules)
{
    CTavrelRules original(u"\\My Documents\\Tavrel.Rules");
    original.AddTail(rule(u"a"));
    original.AddTail(rule(u"b"));
    CTavrelRules copy(original);
    EXPECT_EQ(std::u16string(copy.GetPath()), u"\\My Documents\\Tavrel.Rules");
    EXPECT_EQ(copy, original);
    copy.SetAt(1, rule(u"changed"));
    EXPECT_NE(copy, original);
    EXPECT_EQ(patterns(original), (Patterns{u"a", u"b"}));

    CTavrelRules assigned;
    assigned.AddTail(rule(u"old"));
    assigned = copy;
    EXPECT_EQ(patterns(assigned), (Patterns{u"changed", u"b"}));
    assigned = assigned;
    EXPECT_EQ(assigned.GetCount(), 2u);
    EXPECT_EQ(std::u16string(assigned.GetPath()), u"\\My Documents\\Tavrel.Rules");
    CTavrelRules reordered = rulesOf({{u"Subject", u"b", u"i"}, {u"Subject", u"a", u"i"}});
    EXPECT_NE(reordered, original) << "order is part of a list";
}

TEST(TavrelRulesList, MatchingGoesOnSafelyWhileTheListIsReplaced)
{
    CTavrelRules program = rulesOf({{u"Subject", u"*Lunch*", u"lunch.gif"}});
    const CTavrelRules edited = rulesOf({{u"Subject", u"*Meet*", u"meet.gif"}, {u"Subject", u"*Lunch*", u"food.gif"}});
    const CTavrelRules original = program;
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::thread reader([&] {
        CQoString icon;
        while (!stop) {
            if (!program.MatchIcon(u"Lunch with Sam", u"", 0, icon) ||
                (std::u16string(icon) != u"lunch.gif" && std::u16string(icon) != u"food.gif"))
                ++wrong;
        }
    });
    for (int i = 0; i < 2000; ++i)
        program = (i % 2) ? original : edited;
    stop = true;
    reader.join();
    EXPECT_EQ(wrong, 0);
}
