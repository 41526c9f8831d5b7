// The tap-and-hold day menu: the held date in each mode, what the menu offers in "<Personal>", in
// a registered calendar and on the month's blank cells, when it opens at all, and the background
// picture that "Set Background..." sets.

#include "ViewTestSupport.h"

#include "data/TavrelCalendarData.h"
#include "data/TavrelNewCommands.h"
#include "data/TavrelRegisteredCalendar.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Menu.h"
#include "platform/ui/PopupMenu.h"
#include "templates/TavrelTemplateStore.h"
#include "views/TavrelViewMessages.h"

#include <fstream>

namespace views_testing {
namespace {

constexpr int Daily = CTavrelReaderView::Daily;
constexpr int Weekly = CTavrelReaderView::Weekly;
constexpr int Monthly = CTavrelReaderView::Monthly;
constexpr int Quarterly = CTavrelReaderView::Quarterly;

// "text=id" for items, "-" for separators, "text>" for submenus.
std::vector<std::string> Items(const ui::Menu& menu)
{
    std::vector<std::string> items;
    for (std::size_t i = 0; i < menu.count(); ++i) {
        const ui::MenuItem& item = menu.item(i);
        if (item.separator)
            items.push_back("-");
        else if (item.submenu)
            items.push_back(device::toUtf8(item.text) + ">");
        else
            items.push_back(device::toUtf8(item.text) + "=" + std::to_string(item.id));
    }
    return items;
}

std::vector<std::string> NewItems(const ui::Menu& menu)
{
    const ui::MenuItem& first = menu.item(0);
    return first.submenu ? Items(*first.submenu) : std::vector<std::string>{};
}

const std::vector<std::string> AppearanceItems
    = {"Set Background...=32781", "Set Skin...=32798", "Set Icon Rules...=32795"};

class TavrelDayMenuTest : public ViewTest {
protected:
    void WriteTemplate(const char16_t* name)
    {
        CTavrelAppointmentTemplate entry;
        entry.subject = name;
        ASSERT_TRUE(CTavrelTemplateStore().Write(entry));
    }
    gfx::Rect DayRegion(int index) const { return view->GetDayRegions().GetAt(std::size_t(index)).GetRect(); }
    gfx::Point CellCentre(int index) const { return view->GetMonthLayout().cells[std::size_t(index)].centre(); }
    OleDateTime Held() const { return view->GetHeldDate(); }
};

TEST_F(TavrelDayMenuTest, TheHourRowsGiveTheHeldHourFromTheTopToTheLastRow)
{
    CreateView(Daily);
    ShowDate(2003, 8, 20);
    ASSERT_EQ(view->GetDayRegions().GetCount(), 1u);
    const gfx::Rect rows = DayRegion(0);
    ASSERT_TRUE(view->PrepareDayMenu({120, rows.top}));
    EXPECT_EQ(Held(), OleDateTime(2003, 8, 20, 0, 0, 0));
    ASSERT_TRUE(view->PrepareDayMenu({120, rows.top + rows.height() / 2}));
    EXPECT_EQ(Held(), OleDateTime(2003, 8, 20, 12, 0, 0));
    // The hour is the row drawn under the point, also late in the day: the rows are not a whole
    // number of pixels high, and the last pixels are still 23:00.
    ASSERT_NE(rows.height() % 24, 0) << "rows of whole pixels would not show the drift";
    ASSERT_TRUE(view->PrepareDayMenu({120, rows.top + rows.height() * 22 / 24 + 1}));
    EXPECT_EQ(Held(), OleDateTime(2003, 8, 20, 22, 0, 0));
    ASSERT_TRUE(view->PrepareDayMenu({120, rows.bottom - 1}));
    EXPECT_EQ(Held(), OleDateTime(2003, 8, 20, 23, 0, 0));
    // Every row's first pixel gives its hour and the pixel above it the hour before.
    for (int hour = 1; hour < 24; ++hour) {
        const int rowTop = rows.top + hour * rows.height() / 24;
        ASSERT_TRUE(view->PrepareDayMenu({120, rowTop}));
        EXPECT_EQ(Held(), OleDateTime(2003, 8, 20, hour, 0, 0)) << "first pixel of row " << hour;
        ASSERT_TRUE(view->PrepareDayMenu({120, rowTop - 1}));
        EXPECT_EQ(Held(), OleDateTime(2003, 8, 20, hour - 1, 0, 0)) << "pixel above row " << hour;
    }

    ShowMode(Weekly);
    // The week of 20 August 2003 runs from Sunday the 17th; the fourth column is Wednesday the 20th.
    ASSERT_EQ(view->GetDayRegions().GetCount(), 7u);
    const gfx::Rect wednesday = DayRegion(3);
    ASSERT_TRUE(view->PrepareDayMenu({wednesday.centre().x, wednesday.top + wednesday.height() * 9 / 24 + 1}));
    EXPECT_EQ(Held(), OleDateTime(2003, 8, 20, 9, 0, 0));

    ShowMode(Monthly);
    ASSERT_TRUE(view->PrepareDayMenu(CellCentre(5 + 26))); // August 2003 starts on a Friday: the 27th
    EXPECT_EQ(Held(), OleDateTime(2003, 8, 27, 0, 0, 0));
}

TEST_F(TavrelDayMenuTest, PersonalOffersTheTemplatesInOrderThenTheBuiltInItemsAndCustomize)
{
    CreateView(Monthly);
    std::optional<ui::Menu> menu = view->PrepareDayMenu(CellCentre(10));
    ASSERT_TRUE(menu);
    std::vector<std::string> expected = {"New>"};
    expected.insert(expected.end(), AppearanceItems.begin(), AppearanceItems.end());
    EXPECT_EQ(Items(*menu), expected);
    const std::vector<std::string> builtIn
        = {"Appointment=35000",         "All Day Appointment=35001", "Weekly Appointment=35002",
           "Monthly Appointment=35003", "Yearly Appointment=35004",  "-",
           "Customize...=35020"};
    EXPECT_EQ(NewItems(*menu), builtIn) << "without templates, no separator at the top";

    WriteTemplate(u"B");
    WriteTemplate(u"A & B");
    view->SetNewMenuText(u"Neu");
    menu = view->PrepareDayMenu(CellCentre(10));
    ASSERT_TRUE(menu);
    EXPECT_EQ(Items(*menu).front(), "Neu>");
    std::vector<std::string> withTemplates = {"A && B=35021", "B=35022", "-"};
    withTemplates.insert(withTemplates.end(), builtIn.begin(), builtIn.end());
    EXPECT_EQ(NewItems(*menu), withTemplates);
}

TEST_F(TavrelDayMenuTest, ARegisteredCalendarOffersItsActivityKindsAndOtherCalendarsNoNewMenu)
{
    CreateView(Monthly);
    CTavrelRegisteredCalendar& projects = app->AddRegisteredCalendar(u"Projects");
    projects.SetFactories(u"Call,Visit");
    app->AddRegisteredCalendar(u"Quiet");
    ASSERT_TRUE(app->SetCurrentCalendar(u"projects"));
    std::optional<ui::Menu> menu = view->PrepareDayMenu(CellCentre(10));
    ASSERT_TRUE(menu);
    EXPECT_EQ(Items(*menu).front(), "New>");
    EXPECT_EQ(NewItems(*menu), (std::vector<std::string>{"Call=35000", "Visit=35001"}));

    for (const char16_t* calendar : {u"Quiet", u"<Combined>"}) {
        ASSERT_TRUE(app->SetCurrentCalendar(calendar));
        menu = view->PrepareDayMenu(CellCentre(10));
        ASSERT_TRUE(menu);
        EXPECT_EQ(Items(*menu), AppearanceItems) << device::toUtf8(calendar);
    }
}

TEST_F(TavrelDayMenuTest, BlankCellsTurnTheMonthInTheMonthlyModeOnly)
{
    CreateView(Monthly);
    ShowDate(2003, 8, 20); // Friday the 1st: cells 0-4 come before it; the 31st is cell 35
    const OleDateTime before = Held();
    std::optional<ui::Menu> menu = view->PrepareDayMenu(CellCentre(2));
    ASSERT_TRUE(menu);
    EXPECT_EQ(Items(*menu), std::vector<std::string>{"Previous Month=32793"});
    menu = view->PrepareDayMenu(CellCentre(37));
    ASSERT_TRUE(menu);
    EXPECT_EQ(Items(*menu), std::vector<std::string>{"Next Month=32792"});
    EXPECT_EQ(Held(), before) << "a blank cell holds no date";
    EXPECT_FALSE(view->PrepareDayMenu(view->GetMonthLayout().titleArea.centre())) << "the title is no day";

    ShowMode(Quarterly);
    // The fourth quarter of the quarterly view is the agenda: no day there.
    EXPECT_FALSE(view->PrepareDayMenu({180, 200}));
}

TEST_F(TavrelDayMenuTest, AHoldOpensTheMenuOnlyWhileTheFrameIsInFront)
{
    CreateView(Monthly);
    ui::Automation automation(desktop);
    std::vector<std::string> opened;
    automation.onModal([&](ui::Window&) {
        if (ui::PopupMenu* menu = ui::PopupMenu::active()) {
            opened = Items(menu->levels().front()->menu());
            menu->dismiss();
        }
    });
    automation.holdAt(view->toScreen(CellCentre(10)));
    std::vector<std::string> expected = {"New>"};
    expected.insert(expected.end(), AppearanceItems.begin(), AppearanceItems.end());
    EXPECT_EQ(opened, expected);
    const unsigned renders = view->GetRenderCount();
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 15})) << "the pen-up after a hold is no tap";

    // Another program's window in front: the hold is not the view's.
    opened.clear();
    ui::Window other;
    other.createTopLevel({0, 26, 240, 100}, u"Other");
    desktop.bringToTop(other);
    Settle();
    ASSERT_NE(desktop.foreground(), &frame);
    view->send(ui::WM_CONTEXTMENU, 0, ui::MAKELPARAM(120, 150));
    Settle();
    EXPECT_TRUE(opened.empty());
    other.destroy();
    automation.onModal({});
    EXPECT_EQ(view->GetRenderCount(), renders);
}

TEST_F(TavrelDayMenuTest, AChosenBackgroundIsStoredForTheMonthAndAFileThatDoesNotDecodeChangesNothing)
{
    CreateView(Monthly);
    ShowDate(2003, 3, 10);
    std::ofstream(device.host("My Documents/notes.txt")) << "not a picture";
    const unsigned renders = view->GetRenderCount();
    EXPECT_EQ(view->SetBackgroundPicture(u"\\My Documents\\notes.txt"), CTavrelView::BackgroundChoice::Unreadable);
    EXPECT_EQ(view->SetBackgroundPicture(u"\\My Documents\\missing.png"), CTavrelView::BackgroundChoice::Unreadable);
    EXPECT_TRUE(app->GetSettings().GetBackground(3).IsEmpty());
    EXPECT_EQ(view->GetRenderCount(), renders);

    TestPictures::WriteIconFile(device.host("My Documents/Sea.png"), 0x804020, 240);
    EXPECT_EQ(view->SetBackgroundPicture(u"\\My Documents\\Sea.png"), CTavrelView::BackgroundChoice::Set);
    EXPECT_EQ(device::toUtf8(app->GetSettings().GetBackground(3).View()), "\\My Documents\\Sea.png");
    EXPECT_EQ(view->GetRenderCount(), renders + 1);

    // A calendar with pictures of its own takes the chosen picture as its own; the settings keep theirs.
    class Attached : public CTavrelRegisteredCalendar {
    public:
        using CTavrelRegisteredCalendar::CTavrelRegisteredCalendar;
        bool HasOwnAppearance() const override { return true; }
        std::unique_ptr<CTavrelCalendar> Clone() const override { return std::make_unique<Attached>(*this); }
    };
    app->GetCalendarData().AddRemoteCalendar(Attached(u"Attached"));
    ASSERT_TRUE(app->SetCurrentCalendar(u"Attached"));
    TestPictures::WriteIconFile(device.host("My Documents/Shore.png"), 0x204080, 240);
    EXPECT_EQ(view->SetBackgroundPicture(u"\\My Documents\\Shore.png"), CTavrelView::BackgroundChoice::Set);
    EXPECT_EQ(device::toUtf8(app->GetSettings().GetBackground(3).View()), "\\My Documents\\Sea.png");
    CTavrelCalendar* attached = app->GetCalendarData().FindCalendar(u"Attached");
    ASSERT_NE(attached, nullptr);
    EXPECT_EQ(device::toUtf8(attached->GetBackground(3).View()), "\\My Documents\\Shore.png");
}

} // namespace
} // namespace views_testing
