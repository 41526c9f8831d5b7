#include "skins/IniFile.h"

#include "SkinTestSupport.h"
#include "TempDevice.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using skins_test::ansiLines;
using skins_test::bytesOf;
using skins_test::utf16Lines;

CIniFile parsed(const std::vector<std::uint8_t>& bytes)
{
    CIniFile file;
    file.Parse(bytes);
    return file;
}

std::u16string value(const CIniFile& file, const char16_t* section, const char16_t* key)
{
    const CIniSection* found = file.FindSection(section);
    return found ? std::u16string(found->GetValue(key).GetString()) : u"<no section>";
}

std::vector<std::u16string> sectionNames(const CIniFile& file)
{
    std::vector<std::u16string> names;
    for (const CIniSection& section : file.GetSections())
        names.emplace_back(section.GetName().GetString());
    return names;
}

TEST(IniFileTest, SectionsKeepFileOrderAndLookupsTakeTheFirstMatchIgnoringCase)
{
    CIniFile file = parsed(ansiLines({u"key=before any section", u"[Skin]", u"Name=Winter", u"[Backgrounds]",
                                      u"Default=a.jpg", u"[skin]", u"Name=Second", u"[ Backgrounds ]", u"[]", u"x=y"}));
    EXPECT_EQ(sectionNames(file), (std::vector<std::u16string>{u"Skin", u"Backgrounds", u"skin", u" Backgrounds ", u""}));
    // The first "Skin" in file order, whatever the letter case asked for.
    EXPECT_EQ(value(file, u"SKIN", u"name"), u"Winter");
    // Blanks inside the brackets belong to the name.
    EXPECT_EQ(file.FindSection(u" backgrounds "), &file.GetSections()[3]);
    EXPECT_EQ(value(file, u"", u"x"), u"y");
    EXPECT_EQ(file.FindSection(u"Month Titles"), nullptr);
}

TEST(IniFileTest, EntriesSplitAtTheFirstEqualsSignAndTheFirstOfAKeyWins)
{
    CIniFile file = parsed(ansiLines({u"[Backgrounds]", u"01 = January.jpg,30", u"02=a=b", u"=empty key", u"no equals sign",
                                      u"   03=March.jpg   ", u"DEFAULT=first", u"default=second", u"04=", u"04=later"}));
    const CIniSection& section = file.GetSections().at(0);
    std::vector<std::pair<std::u16string, std::u16string>> entries;
    for (const CIniSection::Entry& entry : section.GetEntries())
        entries.emplace_back(entry.key.GetString(), entry.value.GetString());
    EXPECT_EQ(entries, (std::vector<std::pair<std::u16string, std::u16string>>{
                           {u"01 ", u" January.jpg,30"},
                           {u"02", u"a=b"},
                           {u"", u"empty key"},
                           {u"03", u"March.jpg"}, // the line is trimmed, not key and value
                           {u"DEFAULT", u"first"},
                           {u"04", u""},
                       }));
    EXPECT_EQ(section.FindEntry(u"01"), nullptr);
    EXPECT_EQ(section.GetValue(u"Default").View(), u"first");
    EXPECT_TRUE(section.GetValue(u"missing").IsEmpty());
}

TEST(IniFileTest, CarriageReturnsEndLinesAndOtherControlBytesAndZerosVanish)
{
    // Line feeds, tabs and zeros are dropped wherever they are; only the carriage return counts.
    static constexpr char raw[] = "[Sk\0in]\r\n\n\nNa\tme=Win\x01ter\rnext=\x0bline\r\n";
    CIniFile file = parsed(bytesOf(std::string_view(raw, sizeof raw - 1)));
    EXPECT_EQ(value(file, u"Skin", u"Name"), u"Winter");
    EXPECT_EQ(value(file, u"Skin", u"next"), u"line");

    // Bytes above 127 are the characters of the same code.
    file = parsed(ansiLines({u"[Skin]", u"Name=Caf\u00e9 \u00ff"}));
    EXPECT_EQ(value(file, u"Skin", u"Name"), u"Caf\u00e9 \u00ff");

    // Line feeds alone end no line: the whole file is one unfinished line.
    EXPECT_TRUE(parsed(bytesOf("[Skin]\nName=x\n")).GetSections().empty());
}

TEST(IniFileTest, TheLastLineCountsOnlyWhenBytesFollowItsCarriageReturn)
{
    EXPECT_EQ(value(parsed(bytesOf("[Skin]\r\nName=x")), u"Skin", u"Name"), u"");
    EXPECT_EQ(value(parsed(bytesOf("[Skin]\r\nName=x\r")), u"Skin", u"Name"), u"");
    EXPECT_EQ(value(parsed(bytesOf("[Skin]\r\nName=x\r\n")), u"Skin", u"Name"), u"x");
    EXPECT_EQ(value(parsed(bytesOf("[Skin]\r\nName=x\r ")), u"Skin", u"Name"), u"x");
    EXPECT_TRUE(parsed(bytesOf("[Skin]")).GetSections().empty());
    EXPECT_TRUE(parsed({}).GetSections().empty());
}

TEST(IniFileTest, SixteenBitTextReadsAsEightBitAndAByteOrderMarkSpoilsTheFirstLine)
{
    const std::initializer_list<std::u16string_view> lines = {u"[Skin]", u"Name=Winter", u"[Backgrounds]", u"Default=Default.jpg,50"};
    CIniFile narrow = parsed(ansiLines(lines));
    CIniFile wide = parsed(utf16Lines(lines));
    EXPECT_EQ(sectionNames(wide), sectionNames(narrow));
    EXPECT_EQ(value(wide, u"Backgrounds", u"Default"), u"Default.jpg,50");
    EXPECT_EQ(value(wide, u"Skin", u"Name"), u"Winter");

    std::vector<std::uint8_t> marked{0xFF, 0xFE};
    for (std::uint8_t b : utf16Lines(lines))
        marked.push_back(b);
    CIniFile spoiled = parsed(marked);
    // "\xFF\xFE[Skin]" is no section line, so "Name" has no section to go to.
    EXPECT_EQ(sectionNames(spoiled), (std::vector<std::u16string>{u"Backgrounds"}));
    EXPECT_EQ(spoiled.FindSection(u"Skin"), nullptr);
}

TEST(IniFileTest, OverlongLinesAreLeftOutWholeAndOversizedContentsAreNotRead)
{
    std::u16string longest(CIniFile::MaxLineCharacters - 3, u'x');
    std::u16string tooLong(CIniFile::MaxLineCharacters - 2, u'y');
    CIniFile file = parsed(ansiLines({u"[Skin]", u"01=" + longest, u"02=" + tooLong, u"03=after"}));
    EXPECT_EQ(value(file, u"Skin", u"01"), longest);
    EXPECT_EQ(file.GetSections()[0].FindEntry(u"02"), nullptr);
    EXPECT_EQ(value(file, u"Skin", u"03"), u"after");

    // Blanks count towards the limit too, before trimming.
    file = parsed(ansiLines({u"[Skin]", std::u16string(CIniFile::MaxLineCharacters, u' ') + u"a=b", u"c=d"}));
    EXPECT_EQ(file.GetSections()[0].GetEntries().size(), 1u);

    std::vector<std::uint8_t> atLimit = ansiLines({u"[Skin]", u"Name=x"});
    atLimit.resize(CIniFile::MaxFileBytes, ' ');
    atLimit.back() = '\n';
    EXPECT_EQ(value(parsed(atLimit), u"Skin", u"Name"), u"x");
    atLimit.push_back(' ');
    EXPECT_TRUE(parsed(atLimit).GetSections().empty());
}

TEST(IniFileTest, AFileIsReadFromTheDeviceAndAnythingUnreadableHasNoSections)
{
    testing_support::TempDevice device;
    ASSERT_TRUE(skins_test::writeFile(u"\\My Documents\\Skins\\Winter.TavrelSkin", ansiLines({u"[Skin]", u"Name=Winter"})));
    EXPECT_EQ(value(CIniFile(u"\\my documents\\skins\\winter.tavrelskin"), u"Skin", u"Name"), u"Winter");

    EXPECT_TRUE(CIniFile(u"\\My Documents\\Skins\\Missing.TavrelSkin").GetSections().empty());
    EXPECT_TRUE(CIniFile(u"\\My Documents\\Skins").GetSections().empty());
    EXPECT_TRUE(CIniFile(u"\\..\\..\\etc\\passwd").GetSections().empty());
    EXPECT_TRUE(CIniFile(nullptr).GetSections().empty());

    std::vector<std::uint8_t> large = ansiLines({u"[Skin]", u"Name=Large"});
    large.resize(CIniFile::MaxFileBytes + 1, '\n');
    ASSERT_TRUE(skins_test::writeFile(u"\\Large.TavrelSkin", large));
    EXPECT_TRUE(CIniFile(u"\\Large.TavrelSkin").GetSections().empty());
    large.pop_back();
    ASSERT_TRUE(skins_test::writeFile(u"\\Large.TavrelSkin", large));
    EXPECT_EQ(value(CIniFile(u"\\Large.TavrelSkin"), u"Skin", u"Name"), u"Large");
}

TEST(IniFileTest, AFullSizeFileOfDistinctKeysIsReadInOnePass)
{
    // The largest file the reader takes, one key per line: the duplicate check must not be
    // quadratic, or this file alone would hang the program.
    std::string text = "[Skin]\r\n";
    int keys = 0;
    while (text.size() + 32 < CIniFile::MaxFileBytes)
        text += "k" + std::to_string(keys++) + "=v\r\n";
    text += "K0=duplicate\r\n";
    CIniFile file = parsed(bytesOf(text));
    ASSERT_EQ(file.GetSections().size(), 1u);
    EXPECT_EQ(file.GetSections()[0].GetEntries().size(), std::size_t(keys));
    EXPECT_EQ(value(file, u"Skin", u"k0"), u"v");
}

} // namespace
