#include "common/QoString.h"
#include "platform/device/DebugOutput.h"
#include "platform/device/LastError.h"
#include "platform/device/SystemTime.h"

#include <gtest/gtest.h>

namespace {

std::u16string text(const CQoString& s) { return std::u16string(s.GetString()); }

} // namespace

TEST(QoStringStorage, GrowthAndNullRules)
{
    CQoString null(static_cast<const char16_t*>(nullptr));
    EXPECT_FALSE(null.HasBuffer());
    EXPECT_EQ(null.GetLength(), 0u);
    EXPECT_EQ(text(null), u"") << "a bufferless string reads as empty text";
    null.Append(u"abc");
    EXPECT_EQ(null.GetLength(), 3u);
    EXPECT_EQ(null.GetCapacity(), 19u);

    CQoString empty(u"");
    EXPECT_TRUE(empty.HasBuffer());
    EXPECT_EQ(empty.GetCapacity(), 16u);
    empty = static_cast<const char16_t*>(nullptr);
    EXPECT_EQ(empty.GetLength(), 0u);
    EXPECT_EQ(text(empty), u"");

    // AppendChar reallocates once every 16 characters.
    CQoString grown;
    unsigned reallocations = 0, capacity = 0;
    for (int i = 0; i < 100; ++i) {
        grown.AppendChar(char16_t(u'a' + i % 26));
        if (grown.GetCapacity() != capacity) {
            ++reallocations;
            capacity = grown.GetCapacity();
        }
    }
    EXPECT_EQ(grown.GetLength(), 100u);
    EXPECT_EQ(reallocations, 7u);
    EXPECT_GE(grown.GetCapacity(), 101u);
}

TEST(QoStringStorage, BufferAccessKeepsTheTerminatorInside)
{
    CQoString s;
    char16_t* buffer = s.GetBuffer(10);
    std::u16string source = u"hello";
    source.copy(buffer, 5);
    EXPECT_EQ(s.ReleaseBuffer(), 5u);
    EXPECT_EQ(text(s), u"hello");
    EXPECT_EQ(s.ReleaseBuffer(2), 2u);
    EXPECT_EQ(text(s), u"he");
    EXPECT_EQ(s.ReleaseBuffer(1000), s.GetCapacity() - 1) << "length stays below the capacity";
    CQoString none;
    EXPECT_EQ(none.ReleaseBuffer(), 0u);
    EXPECT_EQ(none.GetAt(0), 0);
    EXPECT_EQ(CQoString(u"ab").GetAt(2), 0);
    EXPECT_EQ(CQoString(u"ab").GetAt(-1), 0);
}

TEST(QoStringStorage, CopiesNeverShareAndSelfReferencesAreSafe)
{
    CQoString a(u"abc");
    CQoString b(a);
    b.AppendChar(u'd');
    EXPECT_EQ(text(a), u"abc");
    EXPECT_EQ(text(b), u"abcd");
    a.Append(a.GetString()); // appends its own text while the buffer grows
    EXPECT_EQ(text(a), u"abcabc");
    a = a.GetString() + 3;
    EXPECT_EQ(text(a), u"abc");
    CQoString formatted(u"x");
    formatted.Format(u"%s-%s", formatted.GetString(), formatted.GetString());
    EXPECT_EQ(text(formatted), u"x-x");
    EXPECT_EQ(text(CQoString(u"ab") + u"cd"), u"abcd");
}

TEST(QoStringSubstrings, LeftMidRight)
{
    CQoString s(u"abcdef");
    EXPECT_EQ(text(s.Mid(2)), u"cdef");
    EXPECT_EQ(text(s.Mid(6)), u"");
    EXPECT_EQ(text(s.Mid(7)), u"");
    EXPECT_EQ(text(s.Mid(1, 2)), u"bc");
    EXPECT_EQ(text(s.Mid(4, 10)), u"ef");
    EXPECT_EQ(text(s.Mid(-3, 2)), u"ab");
    EXPECT_EQ(text(s.Mid(1, -5)), u"");
    CQoString abc(u"abc");
    EXPECT_EQ(text(abc.Left(10)), u"abc");
    EXPECT_EQ(text(abc.Left(1)), u"a");
    EXPECT_EQ(text(abc.Right(2)), u"bc");
    EXPECT_EQ(text(abc.Right(10)), u"abc");
    EXPECT_EQ(text(abc.Left(-1)), u"");
}

TEST(QoStringSearch, FindReverseFindFindOneOf)
{
    CQoString s(u"abcabc");
    EXPECT_EQ(s.Find(u""), 0);
    EXPECT_EQ(s.Find(u"bc"), 1);
    EXPECT_EQ(s.Find(u"bc", 2), 4);
    EXPECT_EQ(s.Find(u"bc", -4), 1);
    EXPECT_EQ(s.Find(u"bc", 100), -1);
    EXPECT_EQ(s.Find(u'c', 3), 5);
    EXPECT_EQ(s.Find(u"zz"), -1);
    EXPECT_EQ(CQoString(u"aaaa").ReverseFind(u"aa"), 2) << "overlapping hits count";
    EXPECT_EQ(s.ReverseFind(u"x"), -1);
    EXPECT_EQ(s.FindOneOf(u"xyz"), -1);
    EXPECT_EQ(s.FindOneOf(u"xc"), 2);
    EXPECT_EQ(CQoString().FindOneOf(u"a"), -1);
    EXPECT_EQ(s.FindOneOf(nullptr), -1);
    EXPECT_EQ(CQoString().Find(u""), -1);
}

TEST(QoStringCompare, NullAndCaseRules)
{
    CQoString none;
    EXPECT_EQ(none.CompareNoCase(nullptr), 0);
    EXPECT_EQ(none.CompareNoCase(u"a"), -1);
    EXPECT_EQ(CQoString(u"a").CompareNoCase(nullptr), 1);
    EXPECT_EQ(CQoString(u"Personal").CompareNoCase(u"PERSONAL"), 0);
    EXPECT_LT(CQoString(u"a").CompareNoCase(u"B"), 0);
    EXPECT_TRUE(none == static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(none == u"");
    EXPECT_FALSE(none == u"x");
    EXPECT_TRUE(CQoString(u"") == static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(CQoString(u"Abc") == u"aBC");
    EXPECT_TRUE(none == CQoString(u""));
    EXPECT_TRUE(CQoString(u"") == none) << "equality of two empty strings is symmetric";
    EXPECT_FALSE(CQoString(u"a") == none);
    EXPECT_TRUE(CQoString(u"Birthday party").StartsWith(u"BIRTH"));
    EXPECT_TRUE(CQoString(u"Birthday party").EndsWith(u"Party"));
    EXPECT_FALSE(CQoString(u"ab").StartsWith(nullptr));
    EXPECT_FALSE(CQoString(u"ab").EndsWith(u"xab"));
}

TEST(QoStringCompare, ContainsWithAndWithoutCase)
{
    CQoString subject(u"Lunch with Anna");
    EXPECT_TRUE(subject.Contains(u"anna", false));
    EXPECT_FALSE(subject.Contains(u"anna", true));
    EXPECT_TRUE(subject.Contains(u"Anna", true));
    EXPECT_FALSE(subject.Contains(nullptr, false));
    // The cached upper-case copy follows the string searched, not the last one seen.
    CQoString other(u"Dentist");
    EXPECT_FALSE(other.Contains(u"anna", false));
    EXPECT_TRUE(other.Contains(u"DENT", false));
    EXPECT_TRUE(subject.Contains(u"LUNCH", false));
}

TEST(QoStringEdit, TrimCaseAndReplace)
{
    CQoString tabs(u"\tx\t");
    tabs.Trim();
    EXPECT_EQ(text(tabs), u"\tx\t");
    CQoString spaced(u"  x  ");
    spaced.Trim();
    EXPECT_EQ(text(spaced), u"x");
    CQoString mixed(u"\u00c9cole Abc");
    mixed.MakeUpper();
    EXPECT_EQ(text(mixed), u"\u00c9COLE ABC") << "only ASCII letters change";
    mixed.MakeLower();
    EXPECT_EQ(text(mixed), u"\u00c9cole abc");

    CQoString aa(u"aa");
    EXPECT_EQ(aa.Replace(u"a", u"aa"), 2);
    EXPECT_EQ(text(aa), u"aaaa");
    CQoString quotes(u"say \"hi\"");
    EXPECT_EQ(quotes.Replace(u"\"", u"%22"), 2);
    EXPECT_EQ(text(quotes), u"say %22hi%22");
    CQoString gone(u"a-b-c");
    EXPECT_EQ(gone.Replace(u"-", nullptr), 2);
    EXPECT_EQ(text(gone), u"abc");
    EXPECT_EQ(gone.Replace(u"", u"x"), 0) << "an empty pattern replaces nothing";
}

TEST(QoStringEdit, MakeTitle)
{
    CQoString s(u"the end of the road. in time");
    s.MakeTitle();
    EXPECT_EQ(text(s), u"The End of the Road. In Time");
    CQoString t(u"WAR AND PEACE? a NEW hope!an end");
    t.MakeTitle();
    EXPECT_EQ(text(t), u"War and Peace? A New Hope!An End");
}

TEST(QoStringFormat, ResultsAreCutAtTheLimit)
{
    CQoString s;
    EXPECT_EQ(s.Format(u"%s,thr 0x%08X : %s", u"stamp", 0x1Fu, u"text"), 27u);
    EXPECT_EQ(text(s), u"stamp,thr 0x0000001F : text");
    std::u16string longText(5000, u'y');
    EXPECT_EQ(s.Format(u"%s!", longText.c_str()), CQoString::FormatLimit);
    EXPECT_EQ(s.GetLength(), CQoString::FormatLimit);
    EXPECT_EQ(s.GetAt(2047), u'y');
    CQoString name(u"Work");
    s.Format(u"Calendars\\%s", name);
    EXPECT_EQ(text(s), u"Calendars\\Work") << "a CQoString argument formats as its text";
}

TEST(QoStringQuoting, QuoteUnquoteRoundTrip)
{
    CQoString quoted = CQoString::Quote(u"say \"a\" and \"b\"");
    EXPECT_EQ(text(quoted), u"\"say %22a%22 and %22b%22\"");
    EXPECT_EQ(text(CQoString::Unquote(quoted)), u"say \"a\" and \"b\"");
    EXPECT_EQ(text(CQoString::Unquote(u"\"")), u"\"") << "one quote alone stays";
    EXPECT_EQ(text(CQoString::Unquote(u"plain%22text")), u"plain\"text");
    EXPECT_EQ(text(CQoString::Quote(nullptr)), u"\"\"");
}

TEST(QoStringQuoting, Hex)
{
    EXPECT_EQ(text(CQoString::ToHex(u"AZ")), u"415A");
    EXPECT_EQ(text(CQoString::FromHex(u"415a")), u"AZ");
    EXPECT_EQ(text(CQoString::FromHex(u"415")), u"");
    EXPECT_EQ(text(CQoString::FromHex(u"4G41")), u"\u0040A") << "a non-hex digit counts as 0";
    EXPECT_EQ(text(CQoString::ToHex(nullptr)), u"");
    EXPECT_EQ(text(CQoString::ToHex(u"\u0141")), u"41") << "only the low 8 bits";
}

TEST(QoStringTokens, NextTokenWithQuotesAndEmptyTokens)
{
    CQoString rest(u"  \"a, b\" , c");
    CQoString token;
    ASSERT_TRUE(rest.NextToken(token, u","));
    EXPECT_EQ(text(token), u"a, b");
    ASSERT_TRUE(rest.NextToken(token, u","));
    EXPECT_EQ(text(token), u"");
    ASSERT_TRUE(rest.NextToken(token, u","));
    EXPECT_EQ(text(token), u"c");
    EXPECT_FALSE(rest.NextToken(token, u","));

    CQoString open(u"'never closed, really");
    ASSERT_TRUE(open.NextToken(token, u","));
    EXPECT_EQ(text(token), u"'never closed, really");
    EXPECT_EQ(open.GetLength(), 0u);
    EXPECT_FALSE(open.NextToken(token, u","));

    CQoString end(u"\"last\"");
    ASSERT_TRUE(end.NextToken(token, u";"));
    EXPECT_EQ(text(token), u"last");
    EXPECT_EQ(end.GetLength(), 0u) << "a closing quote at the very end leaves nothing";
}

TEST(QoStringMisc, ResourceStringsAndLastError)
{
    device::StringResources::registerTable(77, {{65001, u"Calendar"}, {65002, u""}});
    CQoString s;
    EXPECT_TRUE(s.LoadString(77, 65001));
    EXPECT_EQ(text(s), u"Calendar");
    EXPECT_FALSE(s.LoadString(77, 65002));
    EXPECT_FALSE(s.LoadString(77, 1));
    device::setLastError(2);
    s.GetLastErrorText();
    EXPECT_EQ(text(s), u"The system cannot find the file specified.");
    device::setLastError(999999);
    s.GetLastErrorText();
    EXPECT_EQ(text(s), u"");
}

TEST(QoStringDates, ConvertsThroughTheDeviceLocale)
{
    device::SystemTime record;
    ASSERT_TRUE(CQoString(u"12/8/2026 3:45:10 PM").ToSystemTime(record));
    EXPECT_EQ(record.year, 2026);
    EXPECT_EQ(record.month, 12);
    EXPECT_EQ(record.day, 8);
    EXPECT_EQ(record.hour, 15);
    EXPECT_EQ(record.minute, 45);
    EXPECT_EQ(record.second, 10);
    EXPECT_EQ(record.dayOfWeek, 2) << "a Tuesday";
    CQoString back;
    ASSERT_TRUE(back.FromSystemTime(record));
    EXPECT_EQ(text(back), u"12/8/2026 3:45:10 PM");
    record.hour = record.minute = record.second = 0;
    ASSERT_TRUE(back.FromSystemTime(record));
    EXPECT_EQ(text(back), u"12/8/2026");
}

TEST(QoStringDates, AFailedParseLeavesTheRecordAndSaysWhy)
{
    std::vector<std::u16string> lines;
    device::setDebugOutputObserver([&](device::WideView line) { lines.emplace_back(line); });
    device::SystemTime record;
    record.year = 1999;
    EXPECT_FALSE(CQoString(u"no date at all").ToSystemTime(record));
    EXPECT_FALSE(CQoString().ToSystemTime(record));
    EXPECT_FALSE(CQoString(u"1/1/10000").ToSystemTime(record));
    device::setDebugOutputObserver(nullptr);
    EXPECT_EQ(record.year, 1999);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], u"CQoString::ToSystemTime() Failed - Type Mismatch\n");
    EXPECT_EQ(lines[2], u"CQoString::ToSystemTime() Failed - Overflow\n");
}
