#include "platform/device/Printf.h"
#include "platform/device/WideText.h"

#include <gtest/gtest.h>

using namespace device;

TEST(WideText, Utf8RoundTripAndBrokenInput)
{
    WideString text = u"Caf\u00e9 \u20ac \U0001F600";
    EXPECT_EQ(fromUtf8(toUtf8(text)), text);
    EXPECT_EQ(fromUtf8("\xff" "a\xc3"), u"\uFFFD" u"a\uFFFD");
    EXPECT_EQ(fromUtf8("\xe2\x82"), u"\uFFFD");
    EXPECT_EQ(toUtf8(WideString(1, char16_t(0xD800))), "\xef\xbf\xbd") << "a lone surrogate";
    EXPECT_EQ(toCodePage(u"\u00e9\u20ac\u4e00"), "\xe9\x80?");
}

TEST(WideText, CaseInsensitiveOrderFoldsToLowerCase)
{
    EXPECT_EQ(compareNoCase(u"Personal", u"PERSONAL"), 0);
    EXPECT_LT(compareNoCase(u"abc", u"ABD"), 0);
    EXPECT_LT(compareNoCase(u"ab", u"abc"), 0);
    EXPECT_LT(compareNoCase(u"_x", u"ax"), 0) << "'_' sorts before letters";
    EXPECT_NE(compareNoCase(u"\u00e9", u"\u00c9"), 0) << "only ASCII letters fold";
}

TEST(Printf, HandheldConversions)
{
    EXPECT_EQ(wformat(u"%s,thr 0x%08X : %s%s", u"12:00:00(5)", 0xABCu, u"", u"hi"), u"12:00:00(5),thr 0x00000ABC : hi");
    EXPECT_EQ(wformat(u"%02u.%02u.%04u", 8, 12, 2026), u"08.12.2026");
    EXPECT_EQ(wformat(u"%lu", std::uint32_t(4294967295u)), u"4294967295");
    EXPECT_EQ(wformat(u"%lu", -1), u"4294967295") << "a negative object id prints as unsigned";
    EXPECT_EQ(wformat(u"%I64d", std::int64_t(-1234567890123)), u"-1234567890123");
    EXPECT_EQ(wformat(u"%-5d|%5s|%c|%%", 42, u"ab", u'Z'), u"42   |   ab|Z|%");
    EXPECT_EQ(wformat(u"%S and %s", "narrow", u"wide"), u"narrow and wide");
    EXPECT_EQ(wformat(u"%d %d", 1), u"1 0") << "a missing argument prints as zero, never reads past the list";
    EXPECT_EQ(wformat(u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
    EXPECT_EQ(nformat("%02u:%02u:%02u(%I64d)", 9, 5, 0, std::int64_t(77)), "09:05:00(77)");
    EXPECT_EQ(wformat(u"%x %X %#x", 255, 255, 255), u"ff FF 0xff");
    EXPECT_EQ(wformat(u"%.2s|%03d|%+d", u"abcdef", -5, 7), u"ab|-05|+7");
}

TEST(Printf, BoundedOutputIsCutNotOverrun)
{
    char16_t buffer[8];
    for (auto& c : buffer)
        c = u'#';
    const FormatArg args[] = {FormatArg(u"0123456789")};
    FormatResult result = formatInto(buffer, 6, u"%s", args);
    EXPECT_TRUE(result.truncated);
    EXPECT_EQ(result.length, 5u);
    EXPECT_EQ(WideString(buffer), u"01234");
    EXPECT_EQ(buffer[6], u'#') << "nothing written past the capacity";
    result = formatInto(buffer, 6, u"abcde", std::span<const FormatArg>(args, 0));
    EXPECT_FALSE(result.truncated);
    char narrow[4];
    EXPECT_TRUE(formatInto(narrow, sizeof narrow, "%d", std::span<const FormatArg>()).length <= 3);
}
