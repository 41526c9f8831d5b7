#include "common/QoStringList.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::u16string> items(const CQoStringList& list)
{
    std::vector<std::u16string> out;
    for (auto position = list.GetHeadPosition(); position;)
        out.emplace_back(list.GetNext(position).GetString());
    return out;
}

} // namespace

TEST(QoStringList, PositionsAreOneBased)
{
    CQoStringList list;
    EXPECT_EQ(list.GetHeadPosition(), 0u);
    list.Add(CQoString(u"a"));
    list.Add(CQoString(u"b"));
    CQoStringList::Position position = list.GetHeadPosition();
    EXPECT_EQ(position, 1u);
    EXPECT_EQ(std::u16string(list.GetNext(position).GetString()), u"a");
    EXPECT_EQ(position, 2u);
    EXPECT_EQ(std::u16string(list.GetNext(position).GetString()), u"b");
    EXPECT_EQ(position, 0u);
    position = 7;
    EXPECT_EQ(list.GetNext(position).GetLength(), 0u);
    EXPECT_EQ(position, 0u);
    EXPECT_EQ(list.GetAt(0).GetLength(), 0u);
    EXPECT_EQ(std::u16string(list.GetAt(2).GetString()), u"b");
    EXPECT_FALSE(list.SetAt(3, CQoString(u"x")));
    EXPECT_TRUE(list.SetAt(1, CQoString(u"z")));
    EXPECT_EQ(items(list), (std::vector<std::u16string>{u"z", u"b"}));
    EXPECT_EQ(list.Find(u"B"), 2u);
    EXPECT_EQ(list.Find(u"q"), 0u);
}

TEST(QoStringList, SortedInsertionIsStableAndPutsEmptyLast)
{
    CQoStringList list;
    list.AddSorted(CQoString(u"b"));
    list.AddSorted(CQoString(u"A"));
    list.AddSorted(CQoString(u"a"));
    EXPECT_EQ(items(list), (std::vector<std::u16string>{u"A", u"a", u"b"}));
    list.AddSorted(CQoString(u""));
    list.AddSorted(CQoString(u"0"));
    EXPECT_EQ(items(list), (std::vector<std::u16string>{u"0", u"A", u"a", u"b", u""}));

    CQoStringList unsorted;
    for (const char16_t* s : {u"pear", u"", u"Apple", u"apple", u"fig"})
        unsorted.Add(CQoString(s));
    unsorted.Sort();
    EXPECT_EQ(items(unsorted), (std::vector<std::u16string>{u"Apple", u"apple", u"fig", u"pear", u""}));
}

TEST(QoStringList, SplitAndDeepCopies)
{
    EXPECT_EQ(items(CQoStringList::Split(u"a,,b", false, u",")), (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(items(CQoStringList::Split(u"a,,b", true, u",")), (std::vector<std::u16string>{u"a", u"", u"b"}));
    CQoStringList original = CQoStringList::Split(u"x;y", false, u";");
    CQoStringList copy(original);
    copy.SetAt(1, CQoString(u"changed"));
    EXPECT_EQ(items(original), (std::vector<std::u16string>{u"x", u"y"}));
    copy = original;
    EXPECT_EQ(items(copy), items(original));
    copy.RemoveAll();
    EXPECT_EQ(copy.GetCount(), 0u);
    EXPECT_EQ(original.GetCount(), 2u);
}
