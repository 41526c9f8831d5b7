// The view with the program's generated pictures and the default skin, as a new user first sees
// it: the first run applies the skin, and each mode draws the skin's and the program's pictures
// where they belong. Needs the asset generator's output (build folder "assets", or
// TAVREL_VIEW_ASSETS); with TAVREL_VIEW_SNAPSHOTS set, each mode is also written to /tmp.

#include "ViewTestSupport.h"

#include "common/QoRegistry.h"
#include "skins/TavrelSkinLoader.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace views_testing {
namespace {

namespace fs = std::filesystem;

fs::path AssetsFolder()
{
    if (const char* folder = std::getenv("TAVREL_VIEW_ASSETS"))
        return folder;
    if (const char* bin = std::getenv("TAVREL_BIN"))
        return fs::path(bin).parent_path() / "assets";
    return {};
}

class RealPictures : public ViewTest {
protected:
    void SetUp() override
    {
        const fs::path assets = AssetsFolder();
        if (assets.empty() || !fs::exists(assets / "resources" / "143.jpg") || !fs::exists(assets / "package"))
            GTEST_SKIP() << "the generated pictures are not built (tavrel_assets)";
        for (const fs::directory_entry& entry : fs::directory_iterator(assets / "resources")) {
            std::ifstream in(entry.path(), std::ios::binary);
            auto bytes = std::make_unique<std::vector<std::uint8_t>>(std::istreambuf_iterator<char>(in),
                                                                       std::istreambuf_iterator<char>());
            m_table.add(u"IMAGE", std::stoi(entry.path().stem().string()), *bytes);
            m_bytes.push_back(std::move(bytes));
        }
        fs::copy(assets / "package", device.fs(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        CQoRegistry install(HKEY_LOCAL_MACHINE, CTavrelSettings::InstallKeyPath, true);
        install.SetString(u"InstallDir", u"\\Program Files\\Tavrel");

        resources = &m_table;
        skinLoader = [this](const CQoString& file) {
            return CTavrelSkinLoader::LoadSkin(*app, file.GetString(), [this](const CQoString& text) {
                messages.push_back(device::toUtf8(text.View()));
            });
        };
    }

    // Whether the picture shows `image` at (x, y) at its own size, pixel for pixel, in a band.
    ::testing::AssertionResult Shows(const CTavrelImage& image, int x, int y, int width, int height)
    {
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column)
                if (Pixel(x + column, y + row) != image.GetPixel(column, row))
                    return ::testing::AssertionFailure() << "differs at " << x + column << "," << y + row;
        return ::testing::AssertionSuccess();
    }

    std::vector<CTavrelEvent> Week()
    {
        const char16_t* cake = u"\\Program Files\\Tavrel\\Icons\\Cake.gif";
        const char16_t* dentist = u"\\Program Files\\Tavrel\\Icons\\Dentist.gif";
        return {
            Appointment(OleDateTime(2003, 8, 4, 0, 0, 0), OleDateTime(2003, 8, 4, 0, 0, 0), u"Civic Holiday", 1),
            Appointment(OleDateTime(2003, 8, 12, 9, 0, 0), OleDateTime(2003, 8, 12, 10, 30, 0), u"Team meeting", 2),
            Appointment(OleDateTime(2003, 8, 12, 12, 0, 0), OleDateTime(2003, 8, 12, 13, 0, 0), u"Lunch with Ann", 3),
            Appointment(OleDateTime(2003, 8, 13, 15, 0, 0), OleDateTime(2003, 8, 13, 16, 0, 0), u"Dentist", 4, dentist),
            Appointment(OleDateTime(2003, 8, 15, 8, 30, 0), OleDateTime(2003, 8, 15, 10, 0, 0), u"Budget review", 5),
            Appointment(OleDateTime(2003, 8, 15, 9, 30, 0), OleDateTime(2003, 8, 15, 11, 0, 0), u"Call Tokyo", 6),
            Appointment(OleDateTime(2003, 8, 15, 10, 30, 0), OleDateTime(2003, 8, 15, 12, 0, 0), u"Design review", 7),
            Appointment(OleDateTime(2003, 8, 15, 14, 0, 0), OleDateTime(2003, 8, 15, 15, 0, 0), u"Sam's birthday", 8, cake),
            Appointment(OleDateTime(2003, 8, 15, 18, 0, 0), OleDateTime(2003, 8, 15, 19, 0, 0), u"Gym", 9),
            Appointment(OleDateTime(2003, 8, 15, 20, 0, 0), OleDateTime(2003, 8, 15, 21, 0, 0), u"Dinner", 10),
            Appointment(OleDateTime(2003, 8, 20, 19, 0, 0), OleDateTime(2003, 8, 23, 12, 0, 0), u"Trip to Ottawa", 11),
            Appointment(OleDateTime(2003, 8, 27, 11, 0, 0), OleDateTime(2003, 8, 27, 12, 0, 0), u"Review", 12),
        };
    }

    gfx::ResourceTable m_table;
    std::vector<std::unique_ptr<std::vector<std::uint8_t>>> m_bytes;
    std::vector<std::string> messages;
};

TEST_F(RealPictures, TheFirstRunAppliesTheDefaultSkinAndEveryModeDrawsItsPictures)
{
    CreateView(CTavrelReaderView::Monthly);
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(CQoString(app->GetBackground(8)), CQoString(u"\\My Documents\\CalendarSkinDefault\\August.jpg"));
    SetEvents(Week());
    view->ReloadAppearance(true);

    // The month: the August title and the day bar at their own size, as the skin names them.
    CTavrelImage title;
    ASSERT_TRUE(title.LoadFile(app->GetMonthTitle(8).GetString()));
    CTavrelImage dayBar;
    ASSERT_TRUE(dayBar.LoadFile(app->GetDayBar(8).GetString()));
    ASSERT_EQ(title.GetWidth(), 240);
    EXPECT_TRUE(Shows(title, 0, 0, 120, 10)) << "left of the year";
    EXPECT_TRUE(Shows(dayBar, 0, 28, 240, dayBar.GetHeight()));
    Snapshot("real-month");

    ShowMode(CTavrelReaderView::Quarterly);
    Snapshot("real-quarter");
    ShowMode(CTavrelReaderView::Weekly);
    EXPECT_TRUE(Shows(title, 0, 0, 30, 8)) << "the title picture at its own size, left of the week";
    Snapshot("real-week");
    ShowMode(CTavrelReaderView::Daily);
    CTavrelImage weekBar;
    ASSERT_TRUE(weekBar.LoadResource(CTavrelView::WeekBarId, &m_table));
    EXPECT_TRUE(Shows(weekBar, 0, 28, 120, weekBar.GetHeight())) << "Friday's seventh is highlighted, not Sunday's";
    Snapshot("real-day");
}

} // namespace
} // namespace views_testing
