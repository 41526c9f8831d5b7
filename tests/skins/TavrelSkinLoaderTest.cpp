#include "skins/TavrelSkinLoader.h"

#include "data/TavrelMainWindow.h"
#include "data/TavrelRegisteredCalendar.h"
#include "data/TavrelSettings.h"
#include "shell/TavrelApp.h"

#include "SkinTestSupport.h"
#include "TempDevice.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using skins_test::ansiLines;
using skins_test::touch;
using skins_test::writeFile;

const std::u16string Folder = u"\\My Documents\\Winter\\";
const std::u16string SkinPath = Folder + u"Winter.TavrelSkin";

class StandInFrame : public CTavrelMainWindow {
public:
    CTavrelReaderView* GetReaderView() override { return nullptr; }
    void RefreshCalendarChecks() override {}
    void ReloadViewEvents() override {}
};

// Every appearance value of the twelve months, as the settings hold them.
struct Appearance {
    std::array<std::u16string, 12> backgrounds, dayBars, titles;
    std::array<int, 12> levels{};
    bool operator==(const Appearance&) const = default;
};

class TavrelSkinLoaderTest : public ::testing::Test {
protected:
    void TearDown() override { app.SetMainWindow(nullptr); }

    bool load(const std::u16string& path = SkinPath)
    {
        return CTavrelSkinLoader::LoadSkin(app, path.c_str(), [this](const CQoString& text) { messages.emplace_back(text.GetString()); });
    }

    // Writes the skin and an empty picture for each name given.
    void skin(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::u16string> pictures = {})
    {
        ASSERT_TRUE(writeFile(SkinPath, bytes));
        for (const std::u16string& picture : pictures)
            ASSERT_TRUE(touch(Folder + picture));
    }

    Appearance stored()
    {
        CTavrelSettings& settings = app.GetSettings();
        Appearance a;
        for (int m = 1; m <= 12; ++m) {
            a.backgrounds[m - 1] = settings.GetBackground(m).GetString();
            a.dayBars[m - 1] = settings.GetDayBar(m).GetString();
            a.titles[m - 1] = settings.GetMonthTitle(m).GetString();
            a.levels[m - 1] = settings.GetTransparency(m);
        }
        return a;
    }

    testing_support::TempDevice device;
    CTavrelApp app;
    StandInFrame frame;
    std::vector<std::u16string> messages;
};

TEST_F(TavrelSkinLoaderTest, AWellFormedSkinSetsEveryPictureAndFadeLevelItNames)
{
    skin(ansiLines({u"[Skin]", u"Name=Winter", u"[Backgrounds]", u"Default=Default.jpg,40", u"01=January.jpg,30",
                    u"[DayBar]", u"Default=DayBar.gif", u"[Month Titles]", u"01=January_Title.gif"}),
         {u"Default.jpg", u"January.jpg", u"DayBar.gif", u"January_Title.gif"});
    ASSERT_TRUE(load());
    EXPECT_TRUE(messages.empty());

    const Appearance a = stored();
    EXPECT_EQ(a.backgrounds[0], Folder + u"January.jpg");
    EXPECT_EQ(a.levels[0], 30);
    for (int m = 2; m <= 12; ++m) {
        EXPECT_EQ(a.backgrounds[m - 1], Folder + u"Default.jpg") << m;
        EXPECT_EQ(a.levels[m - 1], 40) << m;
    }
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(a.dayBars[m - 1], Folder + u"DayBar.gif") << m;
    EXPECT_EQ(a.titles[0], Folder + u"January_Title.gif");
    // Month titles have no default key: February keeps the install folder's picture.
    EXPECT_EQ(a.titles[1], u"\\February.gif");
}

TEST_F(TavrelSkinLoaderTest, FadeLevelsFollowTheFirstCommaAndDefaultToFiftyWithoutOne)
{
    app.GetSettings().SetTransparency(7, 15);
    app.GetSettings().SetTransparency(8, 16);
    skin(ansiLines({u"[Skin]", u"[Backgrounds]", u"Default=bg.jpg,20", u"03=March.jpg", u"05=May.jpg,abc",
                    u"06=June.jpg, 70", u"07=July.jpg,150", u"08=August.jpg,-5", u"09=September.jpg,40,60",
                    u"10=October.jpg,25%", u"11=,35"}),
         {u"bg.jpg", u"March.jpg", u"May.jpg", u"June.jpg", u"July.jpg", u"August.jpg", u"September.jpg", u"October.jpg"});
    ASSERT_TRUE(load());
    EXPECT_TRUE(messages.empty());
    const Appearance a = stored();
    EXPECT_EQ(a.levels, (std::array<int, 12>{20, 20, 50, 20, 0, 70, 15, 16, 40, 25, 35, 20}));
    // A level outside 0..100 is not stored, but the picture is.
    EXPECT_EQ(a.backgrounds[6], Folder + u"July.jpg");
    EXPECT_EQ(a.backgrounds[8], Folder + u"September.jpg");
    // An empty picture name leaves the skin's folder itself, which exists.
    EXPECT_EQ(a.backgrounds[10], Folder);
    EXPECT_EQ(a.backgrounds[11], Folder + u"bg.jpg");

    EXPECT_EQ(CTavrelSkinLoader::ParseFadeLevel(u""), 0);
    EXPECT_EQ(CTavrelSkinLoader::ParseFadeLevel(u"+8x"), 8);
    EXPECT_EQ(CTavrelSkinLoader::ParseFadeLevel(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(CTavrelSkinLoader::ParseFadeLevel(u"-99999999999999999999"), INT_MIN);
}

TEST_F(TavrelSkinLoaderTest, NamesMatchIgnoringCaseButNotWithExtraBlanks)
{
    skin(ansiLines({u"[skin]", u"[ Backgrounds ]", u"Default=wrong.jpg,1", u"[BACKGROUNDS]", u"default=bg.jpg,20",
                    u"01 =January.jpg,10", u"[daybar]", u"DEFAULT=bar.gif", u"[month titles]", u"02=February.gif"}),
         {u"bg.jpg", u"January.jpg", u"wrong.jpg", u"bar.gif", u"February.gif"});
    ASSERT_TRUE(load());
    const Appearance a = stored();
    EXPECT_EQ(a.backgrounds[0], Folder + u"bg.jpg");
    EXPECT_EQ(a.levels[0], 20);
    EXPECT_EQ(a.dayBars[11], Folder + u"bar.gif");
    EXPECT_EQ(a.titles[1], Folder + u"February.gif");

    // "[ Backgrounds ]" alone is no backgrounds section.
    skin(ansiLines({u"[Skin]", u"[ Backgrounds ]", u"Default=bg.jpg,90"}));
    EXPECT_FALSE(load());
    EXPECT_EQ(messages, std::vector<std::u16string>{CTavrelSkinLoader::BackgroundsSectionMissing});
    EXPECT_EQ(stored(), a);
}

TEST_F(TavrelSkinLoaderTest, MissingSectionsFailWithTheirMessageAndChangeNothing)
{
    CTavrelSettings& settings = app.GetSettings();
    settings.SetBackground(2, u"\\before.jpg");
    settings.SetTransparency(2, 33);
    settings.SetDayBar(2, u"\\before.gif");
    const Appearance before = stored();
    app.SetMainWindow(&frame);

    EXPECT_FALSE(load(Folder + u"Missing.TavrelSkin"));
    EXPECT_EQ(messages, std::vector<std::u16string>{CTavrelSkinLoader::SkinSectionMissing});
    EXPECT_EQ(messages[0], u"Invalid Skin File.  [Skin] section not found");

    messages.clear();
    skin(ansiLines({u"[Skin]", u"[DayBar]", u"Default=bar.gif", u"[Month Titles]", u"01=t.gif"}), {u"bar.gif", u"t.gif"});
    EXPECT_FALSE(load());
    EXPECT_EQ(messages, std::vector<std::u16string>{u"Invalid Skin File.  [Backgrounds] section not found"});
    EXPECT_EQ(stored(), before);

    // Without the main window (the first start) a missing "[Skin]" section is not reported.
    app.SetMainWindow(nullptr);
    messages.clear();
    skin(ansiLines({u"[Backgrounds]", u"Default=bar.gif"}));
    EXPECT_FALSE(load());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(stored(), before);
}

TEST_F(TavrelSkinLoaderTest, EachMissingPictureIsReportedAndTheRestStillApplies)
{
    CTavrelSettings& settings = app.GetSettings();
    settings.SetBackground(2, u"\\old-february.jpg");
    settings.SetTransparency(2, 12);
    settings.SetMonthTitle(3, u"\\old-march.gif");
    skin(ansiLines({u"[Skin]", u"[Backgrounds]", u"01=January.jpg,10", u"02=Gone.jpg,20", u"03=March.jpg,30",
                    u"[DayBar]", u"Default=NoBar.gif", u"05=May.gif", u"[Month Titles]", u"03=NoTitle.gif", u"04=Titles"}),
         {u"January.jpg", u"March.jpg", u"May.gif"});
    ASSERT_TRUE(touch(Folder + u"Titles\\inside.gif")); // a folder counts as existing

    ASSERT_TRUE(load());
    std::vector<std::u16string> expected{u"File not found: " + Folder + u"Gone.jpg"};
    for (int m = 1; m <= 12; ++m) {
        if (m != 5)
            expected.push_back(u"File not found: " + Folder + u"NoBar.gif");
    }
    expected.push_back(u"File not found: " + Folder + u"NoTitle.gif");
    EXPECT_EQ(messages, expected);

    const Appearance a = stored();
    EXPECT_EQ(a.levels[0], 10);
    EXPECT_EQ(a.levels[1], 12);
    EXPECT_EQ(a.levels[2], 30);
    EXPECT_EQ(a.backgrounds[1], u"\\old-february.jpg");
    EXPECT_EQ(a.backgrounds[2], Folder + u"March.jpg");
    EXPECT_EQ(a.dayBars[4], Folder + u"May.gif");
    EXPECT_EQ(a.dayBars[5], u"\\Daybar.gif");
    EXPECT_EQ(a.titles[2], u"\\old-march.gif");
    EXPECT_EQ(a.titles[3], Folder + u"Titles");
}

TEST_F(TavrelSkinLoaderTest, PicturesAreFoundBesideTheSkinAndNeverOutsideTheDevice)
{
    ASSERT_TRUE(touch(u"\\Skins\\Sea\\pictures\\bg.jpg"));
    ASSERT_TRUE(touch(u"\\Skins\\Other\\bg.jpg"));
    ASSERT_TRUE(writeFile(u"\\Skins\\Sea\\Sea.TavrelSkin",
                          ansiLines({u"[Skin]", u"[Backgrounds]", u"01=pictures\\bg.jpg,10", u"02=..\\Other\\bg.jpg,20",
                                     u"03=..\\..\\..\\..\\..\\..\\..\\..\\etc\\hostname,30"})));
    ASSERT_TRUE(load(u"\\Skins\\Sea\\Sea.TavrelSkin"));
    EXPECT_EQ(stored().backgrounds[0], u"\\Skins\\Sea\\pictures\\bg.jpg");
    EXPECT_EQ(messages, (std::vector<std::u16string>{u"File not found: \\Skins\\Sea\\..\\Other\\bg.jpg",
                                                     u"File not found: \\Skins\\Sea\\..\\..\\..\\..\\..\\..\\..\\..\\etc\\hostname"}));
    EXPECT_EQ(stored().levels[1], 50);
}

TEST_F(TavrelSkinLoaderTest, ASecondSkinOverwritesOnlyWhatItNames)
{
    skin(ansiLines({u"[Skin]", u"[Backgrounds]", u"Default=first.jpg,30", u"[DayBar]", u"Default=first.gif",
                    u"[Month Titles]", u"01=first-title.gif", u"02=first-title.gif"}),
         {u"first.jpg", u"first.gif", u"first-title.gif"});
    ASSERT_TRUE(load());
    skin(ansiLines({u"[Skin]", u"[Backgrounds]", u"06=second.jpg,80", u"[Month Titles]", u"02=second-title.gif"}),
         {u"second.jpg", u"second-title.gif"});
    ASSERT_TRUE(load());
    EXPECT_TRUE(messages.empty());

    const Appearance a = stored();
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(a.backgrounds[m - 1], Folder + (m == 6 ? u"second.jpg" : u"first.jpg")) << m;
        EXPECT_EQ(a.levels[m - 1], m == 6 ? 80 : 30) << m;
        EXPECT_EQ(a.dayBars[m - 1], Folder + u"first.gif") << m;
    }
    EXPECT_EQ(a.titles[0], Folder + u"first-title.gif");
    EXPECT_EQ(a.titles[1], Folder + u"second-title.gif");
}

TEST_F(TavrelSkinLoaderTest, SkinsOfTheCombinedAndRegisteredCalendarsWriteTheSharedSettings)
{
    CTavrelRegisteredCalendar& projects = app.AddRegisteredCalendar(u"Projects");
    projects.SetBackground(5, u"\\projects-own.jpg");
    skin(ansiLines({u"[Skin]", u"[Backgrounds]", u"05=May.jpg,65", u"[DayBar]", u"05=bar.gif", u"[Month Titles]", u"05=May.gif"}),
         {u"May.jpg", u"bar.gif", u"May.gif"});

    ASSERT_TRUE(app.SetCurrentCalendar(u"Projects"));
    ASSERT_TRUE(load());
    CTavrelSettings& settings = app.GetSettings();
    EXPECT_EQ(settings.GetBackground(5).View(), Folder + u"May.jpg");
    EXPECT_EQ(settings.GetTransparency(5), 65);
    EXPECT_EQ(settings.GetDayBar(5).View(), Folder + u"bar.gif");
    EXPECT_EQ(settings.GetMonthTitle(5).View(), Folder + u"May.gif");
    EXPECT_EQ(app.FindCalendar(u"Projects")->GetBackground(5).View(), u"\\projects-own.jpg");

    // "<Personal>" shows what the registered calendar's skin wrote.
    ASSERT_TRUE(app.SetCurrentCalendar(u"<Personal>"));
    EXPECT_EQ(app.GetBackground(5).View(), Folder + u"May.jpg");
    EXPECT_EQ(app.GetTransparency(5), 65);

    settings.SetTransparency(5, 50);
    ASSERT_TRUE(app.SetCurrentCalendar(u"<Combined>"));
    ASSERT_TRUE(load());
    EXPECT_EQ(settings.GetTransparency(5), 65);
}

TEST_F(TavrelSkinLoaderTest, TheDefaultSkinIsAppliedOnTheFirstRunOnly)
{
    const std::u16string defaultFolder = u"\\My Documents\\CalendarSkinDefault\\";
    ASSERT_TRUE(writeFile(CTavrelSkinLoader::DefaultSkinPath,
                          ansiLines({u"[Skin]", u"Name=Default", u"[Backgrounds]", u"Default=Background.jpg,45"})));
    ASSERT_TRUE(touch(defaultFolder + u"Background.jpg"));
    auto collect = [this](const CQoString& text) { messages.emplace_back(text.GetString()); };

    ASSERT_TRUE(app.GetSettings().GetInitialized());
    EXPECT_TRUE(CTavrelSkinLoader::LoadDefaultSkinOnFirstRun(app, collect));
    EXPECT_FALSE(app.GetSettings().GetInitialized());
    EXPECT_EQ(stored().backgrounds[8], defaultFolder + u"Background.jpg");
    EXPECT_EQ(stored().levels[8], 45);

    // Later starts leave the appearance alone, even when the user changed it since.
    app.GetSettings().SetTransparency(9, 70);
    EXPECT_FALSE(CTavrelSkinLoader::LoadDefaultSkinOnFirstRun(app, collect));
    EXPECT_EQ(stored().levels[8], 70);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TavrelSkinLoaderTest, AFirstRunWithoutTheDefaultSkinIsTriedOnceAndSilently)
{
    EXPECT_FALSE(CTavrelSkinLoader::LoadDefaultSkinOnFirstRun(app, [this](const CQoString& text) { messages.emplace_back(text.GetString()); }));
    EXPECT_FALSE(app.GetSettings().GetInitialized());
    EXPECT_TRUE(messages.empty());
}

} // namespace
