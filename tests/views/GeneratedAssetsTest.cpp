// The pictures and files tools/assetgen draws at build time: every file the build lists is there
// and decodes at the size the views draw it, the default rules find each icon they name, the
// embedded resources load by id, the 48 clock faces can be told apart, the small pictures carry
// the key colour the views leave out, and the default skin names its twelve backgrounds.

#include "support/TempDevice.h"
#include "support/ToolRunner.h"
#include "views/TavrelImage.h"

#include "assets/ResourceIds.h"
#include "platform/device/WideText.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/ImageDecoder.h"
#include "rules/TavrelDefaultRules.h"
#include "rules/TavrelRules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifndef TAVREL_ASSETS_DIR
#error "test_views is built with the generated assets (tools/assetgen wires TAVREL_ASSETS_DIR)"
#endif

namespace fs = std::filesystem;

namespace {

const fs::path assets = TAVREL_ASSETS_DIR;
const fs::path package = assets / "package";

std::vector<std::string> listedAssets()
{
    std::ifstream in(assets / "asset-list.txt");
    std::vector<std::string> files;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            files.push_back(line);
    return files;
}

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The size the views expect of a generated picture, by where it lies.
gfx::Size expectedSize(const std::string& relative)
{
    const std::string name = fs::path(relative).stem().string();
    if (relative.starts_with("qologconfig/"))
        return {32, 32}; // QoLog Config's program icon
    if (relative.starts_with("resources/")) {
        const int id = std::stoi(name);
        if (id == IDI_TAVREL)
            return {32, 32};
        if (id == IDB_TIMEBAR || id == IDB_WEEKBAR || id == IDB_DAYBAR)
            return {240, 12};
        if (id == IDB_BACKGROUND)
            return {240, 228};
        if (id >= IDB_JANUARY && id <= IDB_DECEMBER)
            return {240, 28};
        if (id == IDB_LINKS)
            return {144, 36};
        if (id == IDB_MORE)
            return {9, 4};
        return {16, 16};
    }
    if (relative.find("/Icons/") != std::string::npos)
        return {16, 16};
    if (relative.ends_with(".jpg"))
        return {240, 228};
    if (name == "Daybar")
        return {240, 12};
    return {240, 28}; // the install folder's month titles
}

} // namespace

TEST(GeneratedAssets, EveryListedFileDecodesAtTheSizeTheViewsDrawIt)
{
    const std::vector<std::string> files = listedAssets();
    // 79 resources, QoLog Config's icon, 35 icon files, 12 titles and the day bar, the two Today
    // plug-ins, the skin file and 12 backgrounds.
    ASSERT_EQ(files.size(), 79u + 1u + 35u + 13u + 2u + 1u + 12u) << "the asset list " << (assets / "asset-list.txt");
    for (const std::string& relative : files) {
        SCOPED_TRACE(relative);
        ASSERT_TRUE(fs::is_regular_file(assets / relative));
        if (relative.ends_with(".TavrelSkin"))
            continue;
        if (relative.ends_with(".DLL")) {
            // The Today plug-ins are placeholders that say which variant they stand for.
            EXPECT_NE(readText(assets / relative).find(fs::path(relative).filename().string() + "\r\n"),
                      std::string::npos);
            continue;
        }
        std::optional<gfx::Surface> picture = gfx::ImageDecoder::decodeFile(assets / relative);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->size(), expectedSize(relative));
        const std::string bytes = readText(assets / relative);
        const gfx::ImageFormat format = gfx::ImageDecoder::detectFormat(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_EQ(format, relative.ends_with(".jpg") ? gfx::ImageFormat::Jpeg : gfx::ImageFormat::Gif);
    }
}

TEST(GeneratedAssets, MonthTitlesKeepTheRightPartClearForTheTitleText)
{
    // The views write their title right-aligned over the strip: the widest, the day view's
    // "Wed 22nd, 2026" in Tahoma 16 with a two-pixel outline, two pixels from the right edge. There
    // the strip is the bare band, shaded from top to bottom only: every row one colour, within the
    // quantiser's dither.
    const int clear = gfx::Font::fromPoints(u"Tahoma", 16).textExtent(u"Wed 22nd, 2026").width + 4;
    ASSERT_GT(clear, 100);
    for (int month = 1; month <= 12; ++month) {
        SCOPED_TRACE(month);
        std::optional<gfx::Surface> title = gfx::ImageDecoder::decodeFile(
            assets / "resources" / (std::to_string(MonthTitleResourceId(month)) + ".gif"));
        ASSERT_TRUE(title);
        int stray = 0;
        for (int y = 0; y < title->height(); ++y) {
            const gfx::Colour band = title->pixel(title->width() - 1, y);
            for (int x = title->width() - clear; x < title->width(); ++x) {
                const gfx::Colour pixel = title->pixel(x, y);
                const int difference = std::abs(int(gfx::GetRValue(pixel)) - int(gfx::GetRValue(band)))
                    + std::abs(int(gfx::GetGValue(pixel)) - int(gfx::GetGValue(band)))
                    + std::abs(int(gfx::GetBValue(pixel)) - int(gfx::GetBValue(band)));
                stray += difference > 48;
            }
        }
        EXPECT_EQ(stray, 0) << "pixels of the name or the emblem under the title text";
        // The name is still there, left of it.
        int light = 0;
        for (int y = 0; y < title->height(); ++y)
            for (int x = 0; x < title->width() - clear; ++x)
                light += gfx::GetRValue(title->pixel(x, y)) > 230 && gfx::GetGValue(title->pixel(x, y)) > 230
                    && gfx::GetBValue(title->pixel(x, y)) > 230;
        EXPECT_GT(light, 40);
    }
}

TEST(GeneratedAssets, SmallPicturesMarkTheirBackgroundWithAKeyTheViewsLeaveOut)
{
    // The views leave out the top-left pixel's colour. That colour must not be 0xC0C0C0, which a
    // faded icon's blend reads as "nothing left out", and the picture must show something else.
    for (const std::string& relative : listedAssets()) {
        if (!relative.ends_with(".gif") || expectedSize(relative).width > 32)
            continue;
        SCOPED_TRACE(relative);
        std::optional<gfx::Surface> picture = gfx::ImageDecoder::decodeFile(assets / relative);
        ASSERT_TRUE(picture);
        const gfx::Colour key = picture->pixel(0, 0);
        EXPECT_NE(key, CTavrelImage::TopLeftColour);
        std::size_t shown = 0;
        for (gfx::Colour pixel : picture->pixels())
            shown += pixel != key;
        EXPECT_GT(shown, picture->pixels().size() / 8) << "hardly anything but background";
        EXPECT_LT(shown, picture->pixels().size()) << "no background at all";
    }
}

TEST(GeneratedAssets, TheDefaultRulesFindEveryIconTheyName)
{
    testing_support::TempDevice device;
    fs::copy(package, device.fs(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    for (std::uint16_t language : {std::uint16_t(0x0409), std::uint16_t(0x0809)}) {
        CTavrelRules rules;
        CTavrelDefaultRules::AddTo(rules, u"\\Program Files\\Tavrel\\Tavrel.exe", language);
        std::size_t count = 0;
        for (const CTavrelRule* rule = rules.First(); rule; rule = rules.Next()) {
            ++count;
            CTavrelImage icon;
            EXPECT_TRUE(icon.LoadFile(rule->GetIcon())) << device::toUtf8(rule->GetIcon().View());
            EXPECT_EQ(icon.GetWidth(), 16);
        }
        EXPECT_EQ(count, CTavrelDefaultRules::Count);
    }
}

TEST(GeneratedAssets, TheInstallFolderAndSkinPicturesLoadByDevicePath)
{
    testing_support::TempDevice device;
    fs::copy(package, device.fs(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    const char16_t* months[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                u"July",    u"August",   u"September", u"October", u"November", u"December"};
    for (const char16_t* month : months) {
        CTavrelImage title;
        EXPECT_TRUE(title.LoadFile((device::WideString(u"\\Program Files\\Tavrel\\") + month + u".gif").c_str()));
        EXPECT_EQ(title.GetWidth(), 240);
        CTavrelImage background;
        EXPECT_TRUE(background.LoadFile(
            (device::WideString(u"\\My Documents\\CalendarSkinDefault\\") + month + u".jpg").c_str()));
        EXPECT_EQ(background.GetHeight(), 228);
    }
    CTavrelImage dayBar;
    EXPECT_TRUE(dayBar.LoadFile(u"\\Program Files\\Tavrel\\Daybar.gif"));
    EXPECT_EQ(dayBar.GetHeight(), 12);
}

TEST(GeneratedAssets, EmbeddedResourcesLoadByIdAndTheClockFacesDiffer)
{
    std::vector<int> ids = {IDI_TAVREL,        IDB_REMINDER_TODO, IDB_REMINDER_CALL,        IDB_REMINDER_MEETING,
                            IDB_REMINDER_OTHER, IDB_TIMEBAR,      IDB_WEEKBAR,              IDB_BACKGROUND,
                            IDB_DAYBAR,        IDB_TOOL_PREVIOUS, IDB_TOOL_NEXT,            IDB_TOOL_TODAY,
                            IDB_TOOL_ATTACHED, IDB_TOOL_ABOUT,    IDB_TOOL_SWITCH_TO_VARNOW, IDB_ALLDAY,
                            IDB_LINKS,         IDB_MORE,          IDB_FOLDER};
    for (int month = 1; month <= 12; ++month)
        ids.push_back(MonthTitleResourceId(month));
    for (int id : ids) {
        CTavrelImage picture;
        EXPECT_TRUE(picture.LoadResource(id)) << "resource " << id;
    }

    std::vector<gfx::Surface> faces;
    for (int index = 0; index < IDB_CLOCK_COUNT; ++index) {
        CTavrelImage clock;
        ASSERT_TRUE(clock.LoadResource(IDB_CLOCK_FIRST + index)) << "clock " << index;
        ASSERT_EQ(clock.GetWidth(), 16);
        faces.push_back(*clock.GetBitmap());
    }
    for (std::size_t a = 0; a < faces.size(); ++a)
        for (std::size_t b = a + 1; b < faces.size(); ++b)
            EXPECT_NE(faces[a], faces[b]) << "clock faces " << a << " and " << b;
    EXPECT_EQ(ClockIconResourceId(0, 0), IDB_CLOCK_FIRST);
    EXPECT_EQ(ClockIconResourceId(12, 14), IDB_CLOCK_FIRST);
    EXPECT_EQ(ClockIconResourceId(13, 0), IDB_CLOCK_FIRST + 4);
    EXPECT_EQ(ClockIconResourceId(23, 59), IDB_CLOCK_FIRST + 47);
}

TEST(GeneratedAssets, TheDefaultSkinNamesTwelveBackgroundsInItsFolder)
{
    const fs::path folder = package / "My Documents" / "CalendarSkinDefault";
    const std::string text = readText(folder / "Default.TavrelSkin");
    ASSERT_FALSE(text.empty());
    // The skin reader drops a last line whose carriage return ends the file, so it must not.
    ASSERT_TRUE(text.ends_with("\r\n"));

    // Sections and keys as the skin reader takes them: lines end at CR, LF is dropped.
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::string current;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line, '\r');) {
        std::erase(line, '\n');
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            sections[current];
            continue;
        }
        const std::size_t equals = line.find('=');
        ASSERT_NE(equals, std::string::npos) << line;
        ASSERT_FALSE(current.empty()) << "a line before the first section: " << line;
        sections[current][line.substr(0, equals)] = line.substr(equals + 1);
    }
    ASSERT_TRUE(sections.count("Skin"));
    ASSERT_TRUE(sections.count("Backgrounds"));
    const auto& backgrounds = sections["Backgrounds"];
    EXPECT_EQ(backgrounds.size(), 12u);
    std::set<std::string> pictures;
    for (int month = 1; month <= 12; ++month) {
        const std::string key = (month < 10 ? "0" : "") + std::to_string(month);
        ASSERT_TRUE(backgrounds.count(key)) << key;
        const std::string& entry = backgrounds.at(key);
        const std::size_t comma = entry.find(',');
        ASSERT_NE(comma, std::string::npos) << entry;
        const std::string picture = entry.substr(0, comma);
        const int level = std::stoi(entry.substr(comma + 1));
        EXPECT_GE(level, 0);
        EXPECT_LE(level, 100);
        EXPECT_TRUE(fs::is_regular_file(folder / picture)) << picture;
        pictures.insert(picture);
    }
    EXPECT_EQ(pictures.size(), 12u) << "each month its own picture";
}

TEST(GeneratedAssets, TheGeneratorDrawsTheSameFilesEveryTimeAndRefusesAListThatDiffers)
{
    testing_support::TempDevice scratch; // a throw-away folder; the device itself is not used
    const fs::path out = scratch.root() / "out";
    testing_support::ToolRun run =
        testing_support::runProgram("tavrel-assetgen", {"--out", out.string(), "--expect", (assets / "asset-list.txt").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const std::string& relative : listedAssets())
        EXPECT_EQ(readText(out / relative), readText(assets / relative)) << relative << " differs from the build's";

    // A list with a name too many and one too few: refused before anything is written.
    std::vector<std::string> files = listedAssets();
    const std::string dropped = files.back();
    files.pop_back();
    files.push_back("package/Program Files/Tavrel/Icons/Unicorn.gif");
    const fs::path list = scratch.root() / "list.txt";
    {
        std::ofstream listFile(list);
        for (const std::string& file : files)
            listFile << file << "\n";
    }
    const fs::path elsewhere = scratch.root() / "elsewhere";
    run = testing_support::runProgram("tavrel-assetgen", {"--out", elsewhere.string(), "--expect", list.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Unicorn.gif"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(dropped), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(elsewhere));

    run = testing_support::runProgram("tavrel-assetgen", {"--colour", "blue"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("--colour"), std::string::npos);
    run = testing_support::runProgram("tavrel-assetgen", {});
    EXPECT_EQ(run.exitCode, 1);
    run = testing_support::runProgram("tavrel-assetgen", {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("--out"), std::string::npos);
}
