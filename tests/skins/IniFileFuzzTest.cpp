// Random bytes against the section-file reader. The inputs are drawn from fixed seeds, so a failure
// repeats; the rounds are counted, not timed, so the test takes the same work on every machine.

#include "skins/IniFile.h"

#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int Rounds = 1500;

std::vector<std::uint8_t> randomBytes(std::mt19937& random)
{
    std::vector<std::uint8_t> bytes(std::uniform_int_distribution<std::size_t>(0, 4096)(random));
    for (std::uint8_t& b : bytes)
        b = std::uint8_t(random());
    return bytes;
}

// Lines of sections and entries over a few names in random letter case, so that repeated
// sections and keys that differ only in case are common.
std::vector<std::uint8_t> structuredLines(std::mt19937& random)
{
    static const std::string_view names[] = {"Skin", "Backgrounds", "Default", "01", "Month Titles", ""};
    static const std::string_view ends[] = {"\r\n", "\r", "\n", std::string_view("\r\0\n\0", 4), ""};
    auto randomCase = [&](std::string_view name) {
        std::string text(name);
        for (char& c : text) {
            if (random() % 2)
                c = char(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
        }
        return text;
    };
    std::string text;
    const int lines = std::uniform_int_distribution<int>(0, 80)(random);
    for (int i = 0; i < lines; ++i) {
        const std::string name = randomCase(names[random() % std::size(names)]);
        switch (random() % 4) {
        case 0:
            text += (random() % 4 ? "" : " ") + ("[" + name + "]");
            break;
        case 3:
            text += name;
            break;
        default:
            text += name + (random() % 4 ? "=" : " = ") + std::to_string(random() % 100);
            break;
        }
        text += ends[random() % std::size(ends)];
    }
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> mutatedSkin(std::mt19937& random)
{
    std::vector<std::uint8_t> bytes = skins_test::ansiLines(
        {u"[Skin]", u"Name=Winter", u"[Backgrounds]", u"Default=Default.jpg,50", u"01=January.jpg,30", u"[DayBar]",
         u"Default=DayBar.gif", u"[Month Titles]", u"01=January_Title.gif"});
    if (random() % 2)
        bytes = skins_test::utf16Lines({u"[Skin]", u"[Backgrounds]", u"Default=a.jpg", u"03=b.jpg,7"});
    const int edits = std::uniform_int_distribution<int>(1, 12)(random);
    for (int i = 0; i < edits; ++i) {
        const std::size_t at = bytes.empty() ? 0 : random() % bytes.size();
        switch (random() % 3) {
        case 0:
            if (!bytes.empty())
                bytes[at] = std::uint8_t(random());
            break;
        case 1:
            bytes.insert(bytes.begin() + std::ptrdiff_t(at), std::uint8_t(random()));
            break;
        default:
            if (!bytes.empty())
                bytes.erase(bytes.begin() + std::ptrdiff_t(at));
            break;
        }
    }
    return bytes;
}

bool readable(const CQoString& text)
{
    if (text.GetLength() > CIniFile::MaxLineCharacters)
        return false;
    for (unsigned i = 0; i < text.GetLength(); ++i) {
        const char16_t c = text.GetAt(int(i));
        if (c < 32 || c > 255)
            return false;
    }
    return true;
}

// What every parse must give, whatever the bytes were.
void expectSoundStructure(const CIniFile& file)
{
    const auto& sections = file.GetSections();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const CIniSection& section = sections[s];
        ASSERT_TRUE(readable(section.GetName()));
        const CIniSection* found = file.FindSection(section.GetName());
        ASSERT_NE(found, nullptr);
        ASSERT_LE(found, &section); // the first of its name
        ASSERT_TRUE(device::equalsNoCase(found->GetName().View(), section.GetName().View()));
        for (const CIniSection* earlier = sections.data(); earlier < found; ++earlier)
            ASSERT_FALSE(device::equalsNoCase(earlier->GetName().View(), section.GetName().View()));

        const auto& entries = section.GetEntries();
        for (std::size_t e = 0; e < entries.size(); ++e) {
            ASSERT_TRUE(readable(entries[e].key));
            ASSERT_TRUE(readable(entries[e].value));
            // Keys are unique ignoring case, so a lookup finds exactly this entry.
            ASSERT_EQ(section.FindEntry(entries[e].key), &entries[e]);
            for (std::size_t earlier = 0; earlier < e; ++earlier)
                ASSERT_FALSE(device::equalsNoCase(entries[earlier].key.View(), entries[e].key.View()));
        }
    }
}

TEST(IniFileFuzzTest, AnyBytesGiveASoundStructure)
{
    std::mt19937 random(20090214);
    for (int round = 0; round < Rounds; ++round) {
        std::vector<std::uint8_t> bytes;
        switch (round % 3) {
        case 0:
            bytes = randomBytes(random);
            break;
        case 1:
            bytes = structuredLines(random);
            break;
        default:
            bytes = mutatedSkin(random);
            break;
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ", " << bytes.size() << " bytes");
        CIniFile file;
        file.Parse(bytes);
        expectSoundStructure(file);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace
