// The rules file's form: reading 16-bit text line by line, the older two-column form, writing the
// exact bytes back, and surviving any bytes.

#include "RulesTestSupport.h"
#include "TempDevice.h"
#include "platform/device/RunningProgram.h"
#include "rules/TavrelRulesFileReader.h"
#include "rules/TavrelRulesFileWriter.h"

#include <gtest/gtest.h>
#include <random>

using namespace rules_test;

namespace {

constexpr const char16_t* RulesPath = u"\\My Documents\\Tavrel.Rules";

std::vector<Triple> loadText(std::u16string_view text)
{
    EXPECT_TRUE(writeFile(RulesPath, text));
    CTavrelRules rules;
    EXPECT_TRUE(rules.Load(RulesPath));
    return triples(rules);
}

} // namespace

TEST(TavrelRulesFile, LinesEndAtCarriageReturnsAndSkipLineFeedsAndByteOrderMarks)
{
    testing_support::TempDevice device;
    const std::vector<Triple> expected = {{u"Subject", u"*Golf*", u"\\Icons\\Golf.gif"},
                                          {u"Category", u"Meeting", u"\\Icons\\Handshake.gif"}};
    const std::u16string plain = u"Subject,*Golf*,\\Icons\\Golf.gif\r\nCategory,Meeting,\\Icons\\Handshake.gif\r\n";
    EXPECT_EQ(loadText(plain), expected);
    EXPECT_EQ(loadText(u"\uFEFF" + plain), expected);
    EXPECT_EQ(loadText(u"\uFFFESubject,*Go\uFEFFlf*,\\Icons\\Golf.gif\rCategory,Meeting,\n\\Icons\\Handshake.gif\r"),
              expected)
        << "marks and line feeds anywhere are skipped; a bare carriage return ends a line";
    // A last line without its carriage return does not count; lines without a comma are skipped.
    EXPECT_EQ(loadText(u"no comma here\r\n\r\n" + plain + u"Subject,*Tennis*,t.gif"), expected);
    EXPECT_EQ(loadText(u""), std::vector<Triple>{});
}

TEST(TavrelRulesFile, OneCommaIsTheOlderSubjectFormAndFurtherCommasBelongToTheIcon)
{
    testing_support::TempDevice device;
    EXPECT_EQ(loadText(u"*Golf*,\\Icons\\Golf.gif\r\n"), (std::vector<Triple>{{u"Subject", u"*Golf*", u"\\Icons\\Golf.gif"}}));
    EXPECT_EQ(loadText(u"Category,Call,\\Icons\\a,b.gif\r\n,,\r\n"),
              (std::vector<Triple>{{u"Category", u"Call", u"\\Icons\\a,b.gif"}, {u"", u"", u""}}));
    // An unknown field stays in the list and is written back, though it never matches.
    CTavrelRules rules;
    ASSERT_TRUE(writeFile(RulesPath, u"Location,*Office*,o.gif\r\n"));
    ASSERT_TRUE(rules.Load(RulesPath));
    EXPECT_EQ(rules.Match(u"Office", u"Office", 3), nullptr);
    ASSERT_TRUE(rules.Save(RulesPath));
    EXPECT_EQ(readFile(RulesPath), utf16le(u"Location,*Office*,o.gif\r\n"));
}

TEST(TavrelRulesFile, SaveWritesLittleEndianLinesWithoutAByteOrderMark)
{
    testing_support::TempDevice device;
    CTavrelRules rules = rulesOf({{u"Subject", u"*Caf\u00e9*", u"\\Icons\\Cup.gif"}, {u"# Recipients", u">0", u"h.gif"}});
    ASSERT_TRUE(rules.Save(RulesPath));
    const auto bytes = readFile(RulesPath);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, utf16le(u"Subject,*Caf\u00e9*,\\Icons\\Cup.gif\r\n# Recipients,>0,h.gif\r\n"));
    EXPECT_EQ((*bytes)[0], 'S');
    EXPECT_EQ((*bytes)[1], 0);
    EXPECT_FALSE(device::FileSystem::exists(u"\\My Documents\\Tavrel.TMP"));
    EXPECT_FALSE(device::FileSystem::exists(u"\\My Documents\\Tavrel.BAK"));
}

TEST(TavrelRulesFile, RulesTheFormCannotHoldAreRefusedInsteadOfCorrupted)
{
    testing_support::TempDevice device;
    CTavrelRules good = rulesOf({{u"Subject", u"*Golf*", u"g.gif"}});
    ASSERT_TRUE(good.Save(RulesPath));
    const auto before = readFile(RulesPath);
    const std::vector<Triple> unstorable = {
        {u"Subject", u"*Smith, John*", u"s.gif"}, // would come back as pattern "*Smith"
        {u"Sub,ject", u"x", u"s.gif"},          {u"Subject", u"a\rb", u"s.gif"},
        {u"Subject", u"x", u"s\n.gif"},         {u"Subject", u"x", u"\uFEFFs.gif"},
        {u"Subject", u"x", std::u16string(CTavrelRulesFileReader::MaxLineLength, u'i')},
    };
    for (const Triple& triple : unstorable) {
        CTavrelRules rules = rulesOf({{u"Subject", u"*Golf*", u"g.gif"}, triple});
        EXPECT_FALSE(CTavrelRulesFileWriter::CanStore(*rules.GetAt(2)));
        EXPECT_FALSE(rules.Save(RulesPath));
        EXPECT_EQ(readFile(RulesPath), before);
    }
    EXPECT_TRUE(CTavrelRulesFileWriter::CanStore(CTavrelRule(u"Subject", u"x", u"\\Icons\\a,b.gif")));
}

TEST(TavrelRulesFile, WhatSaveWritesLoadReadsBackExactly)
{
    testing_support::TempDevice device;
    std::mt19937 random(20240601);
    const std::u16string alphabet = u"abcXYZ *<>=#\\.-_\u00e9\u4e2d\U0001F600,";
    auto text = [&](bool allowComma) {
        std::u16string out;
        for (int n = int(random() % 12); n > 0; --n) {
            char16_t c = alphabet[random() % alphabet.size()];
            if (c == u',' && !allowComma)
                c = u';';
            out.push_back(c);
        }
        return out;
    };
    for (int round = 0; round < 20; ++round) {
        std::vector<Triple> list;
        for (int n = int(random() % 30); n > 0; --n)
            list.emplace_back(text(false), text(false), text(true));
        CTavrelRules rules = rulesOf(list);
        ASSERT_TRUE(rules.Save(RulesPath));
        CTavrelRules loaded;
        ASSERT_TRUE(loaded.Load(RulesPath));
        EXPECT_EQ(triples(loaded), list);
    }
}

TEST(TavrelRulesFileReader, SurvivesAnyBytesInAnyPiecesWithBoundedLines)
{
    // Fed one byte at a time or all at once, the same rules come out, an odd last byte included.
    const std::vector<std::uint8_t> bytes = utf16le(u"\uFEFFSubject,a,b\r\nc,d\r\ne,f,g");
    CTavrelRulesFileReader whole, pieces;
    whole.Feed(bytes.data(), bytes.size());
    for (std::uint8_t b : bytes)
        pieces.Feed(&b, 1);
    ASSERT_EQ(whole.GetRules().size(), 2u);
    EXPECT_EQ(whole.GetRules(), pieces.GetRules());

    // An over-long line is skipped whole; the lines after it still count.
    CTavrelRulesFileReader bounded;
    const auto longLine = utf16le(u"Subject," + std::u16string(CTavrelRulesFileReader::MaxLineLength + 10, u'x') +
                                  u",i\r\nSubject,after,i\r\n");
    bounded.Feed(longLine.data(), longLine.size());
    ASSERT_EQ(bounded.GetRules().size(), 1u);
    EXPECT_EQ(std::u16string(bounded.GetRules()[0].GetPattern()), u"after");
    EXPECT_EQ(bounded.GetDroppedLines(), 1u);

    // Random bytes: no crash, and never more rules than the limit.
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> noise(random() % 4096);
        for (auto& b : noise) {
            const unsigned pick = random() % 8;
            b = pick == 0 ? 13 : pick == 1 ? ',' : pick == 2 ? 0 : std::uint8_t(random());
        }
        CTavrelRulesFileReader reader;
        reader.Feed(noise.data(), noise.size());
        EXPECT_LE(reader.GetRules().size(), noise.size() / 4);
    }
    CTavrelRulesFileReader many;
    const auto line = utf16le(u",\r");
    for (std::size_t i = 0; i < CTavrelRulesFileReader::MaxRules + 5; ++i)
        many.Feed(line.data(), line.size());
    EXPECT_EQ(many.GetRules().size(), CTavrelRulesFileReader::MaxRules);
    EXPECT_EQ(many.GetDroppedLines(), 5u);
}
