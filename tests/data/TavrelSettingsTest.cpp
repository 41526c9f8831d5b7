#include "data/TavrelSettings.h"

#include "common/QoLog.h"
#include "data/TavrelRegisteredCalendar.h"

#include "TempDevice.h"

#include <gtest/gtest.h>

namespace {

class TavrelSettingsTest : public ::testing::Test {
protected:
    testing_support::TempDevice device;
    CTavrelSettings settings;

    CQoRegistry MainKey() { return CQoRegistry(HKEY_CURRENT_USER, CTavrelSettings::MainKeyPath, false); }
};

TEST_F(TavrelSettingsTest, AFreshDeviceReadsDefaultsAndKeepsThemAfterwards)
{
    EXPECT_EQ(settings.GetTransparency(1), 50);
    EXPECT_TRUE(settings.GetBackground(1).IsEmpty());
    EXPECT_EQ(settings.GetMonthTitle(3).View(), u"\\March.gif"); // no install folder recorded
    EXPECT_EQ(settings.GetDayBar(3).View(), u"\\Daybar.gif");
    EXPECT_EQ(settings.GetDayFontName().View(), u"Tahoma");
    EXPECT_EQ(settings.GetDayFontSize(), 8);
    EXPECT_EQ(settings.GetYearFontName().View(), u"Tahoma");
    EXPECT_EQ(settings.GetYearFontSize(), 16);
    EXPECT_FALSE(settings.GetCheckOffDays());
    EXPECT_TRUE(settings.GetInitialized());
    EXPECT_EQ(settings.GetCurrentCalendar().View(), u"<Personal>");
    EXPECT_TRUE(settings.GetDisplayDefaultIcons());
    EXPECT_EQ(settings.GetBusyColour(), 0xCC88FFu);
    EXPECT_EQ(settings.GetTentativeColour(), 0x80FFFFu);
    EXPECT_EQ(settings.GetOutOfOfficeColour(), 0xFF0000u);
    EXPECT_EQ(settings.GetFreeColour(), 0xFF00u);
    EXPECT_EQ(settings.GetHour1Colour(), 0xFFC0C0u);
    EXPECT_EQ(settings.GetHour2Colour(), 0xFFFFFFu);
    EXPECT_EQ(settings.GetLastView(), 2);
    EXPECT_EQ(settings.GetWorkdayStartHour(), 9);
    EXPECT_EQ(settings.GetWorkdayEndHour(), 17);
    EXPECT_TRUE(settings.GetIconPath().IsEmpty());
    EXPECT_FALSE(CQoLog::IsEnabled());
    EXPECT_TRUE(CTavrelSettings::GetInstallFolder().IsEmpty());

    CQoRegistry main = MainKey();
    ASSERT_TRUE(main.IsOpen());
    const std::pair<const char16_t*, std::uint32_t> numbers[] = {
        {u"Transparency01", 50}, {u"FontSizeDays", 8}, {u"FontSizeYear", 16}, {u"CheckOffDays", 0},
        {u"Initialized", 1}, {u"DispalyDefaultIcons", 1}, {u"\\Colors\\Busy", 0xCC88FF},
        {u"\\Colors\\Tentative", 0x80FFFF}, {u"\\Colors\\OutOfOffice", 0xFF0000}, {u"\\Colors\\Free", 0xFF00},
        {u"\\Colors\\Hour1", 0xFFC0C0}, {u"\\Colors\\Hour2", 0xFFFFFF}, {u"LastView", 2},
        {u"Workday Start Hour", 9}, {u"Workday End Hour", 17}};
    for (const auto& [name, value] : numbers) {
        EXPECT_TRUE(main.ValueExists(name)) << device::toUtf8(name);
        EXPECT_EQ(main.GetDWORD(name, CQoRegistry::NoWriteBack), value) << device::toUtf8(name);
    }
    const std::pair<const char16_t*, const char16_t*> texts[] = {
        {u"March", u"\\March.gif"}, {u"DayBar3", u"\\Daybar.gif"}, {u"FontNameDays", u"Tahoma"},
        {u"FontNameYear", u"Tahoma"}, {u"CurrentCalendar", u"<Personal>"}};
    for (const auto& [name, value] : texts)
        EXPECT_EQ(main.GetString(name, nullptr).View(), value) << device::toUtf8(name);
    // Texts without a default are not written, and the colours are values, not a subkey.
    EXPECT_FALSE(main.ValueExists(u"Background1"));
    EXPECT_FALSE(main.ValueExists(u"Background"));
    EXPECT_FALSE(main.ValueExists(u"Icon Path"));
    EXPECT_FALSE(main.SubKeyExists(u"Colors"));
    CQoRegistry logging(HKEY_LOCAL_MACHINE, CQoLog::SwitchKeyPath, false);
    EXPECT_EQ(logging.GetDWORD(u"Tavrel", CQoRegistry::NoWriteBack), 0u);
}

TEST_F(TavrelSettingsTest, TransparencyOutsideZeroToHundredIsIgnored)
{
    ASSERT_TRUE(settings.SetTransparency(5, 30));
    EXPECT_FALSE(settings.SetTransparency(5, 101));
    EXPECT_FALSE(settings.SetTransparency(5, -1));
    EXPECT_EQ(settings.GetTransparency(5), 30);
    EXPECT_TRUE(settings.SetTransparency(5, 0));
    EXPECT_EQ(MainKey().GetDWORD(u"Transparency05", CQoRegistry::NoWriteBack), 0u);
    EXPECT_TRUE(settings.SetTransparency(12, 100));
    EXPECT_EQ(settings.GetTransparency(12), 100);
    EXPECT_FALSE(settings.SetTransparency(13, 10));
    EXPECT_FALSE(MainKey().ValueExists(u"Transparency13"));
    // A level no setter writes, put there by another program, reads as the default.
    MainKey().SetDWORD(u"Transparency07", 250);
    EXPECT_EQ(settings.GetTransparency(7), 50);
}

TEST_F(TavrelSettingsTest, MonthsOutsideOneToTwelveNeitherReadNorWritePerMonthValues)
{
    // Names such as "Transparency13" or "Background0" would be values no month ever reads.
    ASSERT_TRUE(MainKey().SetString(u"Background", u"\\any.jpg"));
    for (int month : {0, 13, -1}) {
        EXPECT_EQ(settings.GetTransparency(month), 50) << month;
        EXPECT_TRUE(settings.GetBackground(month).IsEmpty()) << month;
        EXPECT_TRUE(settings.GetDayBar(month).IsEmpty()) << month;
        EXPECT_FALSE(settings.SetBackground(month, u"\\x.jpg")) << month;
        EXPECT_FALSE(settings.SetDayBar(month, u"\\x.gif")) << month;
    }
    EXPECT_EQ(MainKey().GetString(u"Background", nullptr).View(), u"\\any.jpg") << "the fallback is untouched";
    CQoRegistry main = MainKey();
    CQoString name;
    for (bool more = main.GetFirstValueName(name); more; more = main.GetNextValueName(name)) {
        const std::string text = device::toUtf8(name.View());
        for (const char* never :
             {"Transparency00", "Transparency13", "Background0", "Background13", "DayBar0", "DayBar13"})
            EXPECT_NE(text, never);
    }
}

TEST_F(TavrelSettingsTest, BackgroundSetLastIsTheFallbackOfMonthsWithoutTheirOwn)
{
    ASSERT_TRUE(MainKey().SetString(u"Background", u"\\any.jpg"));
    EXPECT_EQ(settings.GetBackground(4).View(), u"\\any.jpg");
    ASSERT_TRUE(settings.SetBackground(7, u"\\july.jpg"));
    EXPECT_EQ(MainKey().GetString(u"Background7", nullptr).View(), u"\\july.jpg");
    EXPECT_EQ(settings.GetBackground(4).View(), u"\\july.jpg");
    ASSERT_TRUE(settings.SetBackground(4, u"\\april.jpg"));
    EXPECT_EQ(settings.GetBackground(4).View(), u"\\april.jpg");
    EXPECT_EQ(settings.GetBackground(7).View(), u"\\july.jpg");
    EXPECT_EQ(settings.GetBackground(9).View(), u"\\april.jpg");
}

TEST_F(TavrelSettingsTest, PicturesAreNamedByMonthAndStartInTheInstallFolder)
{
    CQoRegistry install(HKEY_LOCAL_MACHINE, CTavrelSettings::InstallKeyPath, true);
    ASSERT_TRUE(install.SetString(u"InstallDir", u"\\Program Files\\Tavrel"));
    EXPECT_EQ(CTavrelSettings::GetInstallFolder().View(), u"\\Program Files\\Tavrel");
    EXPECT_EQ(settings.GetMonthTitle(12).View(), u"\\Program Files\\Tavrel\\December.gif");
    EXPECT_EQ(settings.GetDayBar(1).View(), u"\\Program Files\\Tavrel\\Daybar.gif");

    EXPECT_TRUE(settings.SetMonthTitle(2, u"\\skin\\feb.gif"));
    EXPECT_EQ(MainKey().GetString(u"February", nullptr).View(), u"\\skin\\feb.gif");
    EXPECT_TRUE(settings.SetDayBar(2, u"\\skin\\bar.gif"));
    EXPECT_EQ(MainKey().GetString(u"DayBar2", nullptr).View(), u"\\skin\\bar.gif");

    EXPECT_TRUE(settings.GetMonthTitle(0).IsEmpty());
    EXPECT_TRUE(settings.GetMonthTitle(13).IsEmpty());
    EXPECT_FALSE(settings.SetMonthTitle(13, u"\\x.gif"));
    EXPECT_FALSE(settings.SetMonthTitle(0, u"\\x.gif"));
    CQoRegistry main = MainKey();
    CQoString name;
    for (bool more = main.GetFirstValueName(name); more; more = main.GetNextValueName(name))
        EXPECT_NE(main.GetString(name, nullptr).View(), u"\\x.gif") << device::toUtf8(name.View());
}

TEST_F(TavrelSettingsTest, FontsColoursAndFlagsRoundTrip)
{
    EXPECT_TRUE(settings.SetDayFont(10, u"Courier New"));
    EXPECT_EQ(settings.GetDayFontName().View(), u"Courier New");
    EXPECT_EQ(settings.GetDayFontSize(), 10);
    EXPECT_TRUE(settings.SetYearFont(20, u"System"));
    EXPECT_EQ(settings.GetYearFontSize(), 20);
    EXPECT_TRUE(settings.SetBusyColour(0x123456));
    EXPECT_EQ(MainKey().GetDWORD(u"\\Colors\\Busy", CQoRegistry::NoWriteBack), 0x123456u);
    EXPECT_TRUE(settings.SetCurrentCalendar(u"Projects"));
    EXPECT_TRUE(settings.SetLastView(0));
    EXPECT_TRUE(settings.SetIconPath(u"\\My Documents\\Icons"));

    // The first-run flag, as a later start sees it.
    EXPECT_TRUE(settings.GetInitialized());
    EXPECT_TRUE(settings.SetInitialized(false));
    const CTavrelSettings later;
    EXPECT_FALSE(later.GetInitialized());
    EXPECT_EQ(later.GetCurrentCalendar().View(), u"Projects");
    EXPECT_EQ(later.GetLastView(), 0);
    EXPECT_EQ(later.GetIconPath().View(), u"\\My Documents\\Icons");
}

TEST_F(TavrelSettingsTest, CategoryVisibilityIsKeptPerCalendarAndCategory)
{
    CTavrelRegisteredCalendar calendar(u"Football");
    calendar.AddCategory(u"Games", true);
    calendar.AddCategory(u"Youth", false);
    EXPECT_TRUE(settings.SaveCalendarVisibility(calendar));
    CQoRegistry youth(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars\\Football\\Youth", false);
    EXPECT_EQ(youth.GetDWORD(u"Visible", CQoRegistry::NoWriteBack), 0u);

    CTavrelRegisteredCalendar reloaded(u"Football");
    reloaded.AddCategory(u"Games", false);
    reloaded.AddCategory(u"Youth", true);
    reloaded.AddCategory(u"New", false); // never saved: shown, and the default is written
    settings.LoadCalendarVisibility(reloaded);
    EXPECT_TRUE(reloaded.FindCategory(u"Games")->IsVisible());
    EXPECT_FALSE(reloaded.FindCategory(u"Youth")->IsVisible());
    EXPECT_TRUE(reloaded.FindCategory(u"New")->IsVisible());
    CQoRegistry fresh(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars\\Football\\New", false);
    EXPECT_EQ(fresh.GetDWORD(u"Visible", CQoRegistry::NoWriteBack), 1u);
}

} // namespace
