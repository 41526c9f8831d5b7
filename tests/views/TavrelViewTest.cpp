// The view as a window: modes and dates with their notifications, commands and keys, taps with
// the tap rule and the regions they reach, event and month menus, opening events, the refresh
// message, the timers, the fade level and the date lock.

#include "ViewTestSupport.h"

#include "data/TavrelRegisteredCalendar.h"
#include "platform/device/DebugOutput.h"
#include "platform/pim/Application.h"
#include "platform/pim/AppointmentEditor.h"
#include "platform/pim/Constants.h"
#include "platform/ui/Automation.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/Slider.h"
#include "views/TavrelViewMessages.h"

#include <atomic>
#include <future>
#include <thread>

namespace views_testing {
namespace {

using namespace std::chrono_literals;
constexpr int Daily = CTavrelReaderView::Daily;
constexpr int Weekly = CTavrelReaderView::Weekly;
constexpr int Monthly = CTavrelReaderView::Monthly;
constexpr int Quarterly = CTavrelReaderView::Quarterly;

// The texts of the menu that opens next, and the item to choose in it (none: close it).
struct MenuAnswer {
    std::vector<std::string> items;
    std::vector<bool> checked;
    std::u16string choose;
    int opened = 0;
};

class TavrelViewBehaviour : public ViewTest {
protected:
    void SetUp() override
    {
        automation = std::make_unique<ui::Automation>(desktop);
        automation->onModal([this](ui::Window&) {
            ui::PopupMenu* menu = ui::PopupMenu::active();
            if (!menu)
                return;
            ++answer.opened;
            answer.items.clear();
            answer.checked.clear();
            const ui::Menu& items = menu->levels().front()->menu();
            for (std::size_t i = 0; i < items.count(); ++i) {
                answer.items.push_back(device::toUtf8(ui::Menu::displayText(items.item(i).text)));
                answer.checked.push_back(items.item(i).checked);
            }
            if (answer.choose.empty() || !automation->chooseMenuItem(answer.choose))
                menu->dismiss();
        });
    }
    void TearDown() override { automation->onModal({}); }

    gfx::Point CellCentre(int index) const { return view->GetMonthLayout().cells[std::size_t(index)].centre(); }
    std::string LastNotification() const { return host.notifications.empty() ? "" : host.notifications.back(); }

    std::unique_ptr<ui::Automation> automation;
    MenuAnswer answer;
};

TEST_F(TavrelViewBehaviour, ModesChangeWithNotificationsAndAnInvalidModeIsTraced)
{
    CreateView(Monthly);
    EXPECT_EQ(view->GetViewMode(), Monthly);
    host.notifications.clear();
    EXPECT_FALSE(view->ShowCalendar(Monthly, true));
    EXPECT_TRUE(host.notifications.empty()) << "the mode in force sends nothing";

    std::vector<std::string> traces;
    device::setDebugOutputObserver([&](device::WideView text) { traces.push_back(device::toUtf8(text)); });
    EXPECT_FALSE(view->ShowCalendar(7, true));
    EXPECT_FALSE(view->ShowCalendar(-1, false));
    device::setDebugOutputObserver(nullptr);
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0], "CTavrelView::ShowCalendar() Invalid view mode specified\n");
    EXPECT_EQ(view->GetViewMode(), Monthly);
    EXPECT_TRUE(host.notifications.empty());
    EXPECT_EQ(CQoString(CTavrelView::ModeName(7)), CQoString(u"Invalid"));

    const unsigned renders = view->GetRenderCount();
    EXPECT_TRUE(view->ShowCalendar(Weekly, false));
    EXPECT_EQ(view->GetRenderCount(), renders) << "no render without the flag";
    EXPECT_TRUE(view->ShowCalendar(Quarterly, true));
    EXPECT_GT(view->GetRenderCount(), renders);
    EXPECT_EQ(host.notifications, (std::vector<std::string>{"OnViewChanged:Weekly", "OnViewChanged:Quarterly"}));
    EXPECT_TRUE(app->GetCalendarData().IsRefreshRequested()) << "the reader loads the new period at once";
}

TEST_F(TavrelViewBehaviour, ADamagedProgramWithoutItsTimeAndWeekBarsSaysSoAndStillDraws)
{
    const TestPictures withoutBars(false);
    resources = &withoutBars.table();
    std::vector<std::string> traces;
    device::setDebugOutputObserver([&](device::WideView text) { traces.push_back(device::toUtf8(text)); });
    CreateView(Daily);
    device::setDebugOutputObserver(nullptr);
    ASSERT_GE(traces.size(), 2u);
    EXPECT_EQ(traces[0], "Error reading timebar resource\n");
    EXPECT_EQ(traces[1], "Error reading weekbar resource\n");
    EXPECT_EQ(Pixel(3, 3), TitleColour(8)) << "the rest of the day view is drawn";
    view.reset();
}

TEST_F(TavrelViewBehaviour, SetCurrentDateClampsTheDayAndNotifiesTheQuotedDate)
{
    CreateView(Monthly);
    host.notifications.clear();
    EXPECT_TRUE(view->SetCurrentDate(2003, 2, 31, false));
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 2, 28}));
    EXPECT_EQ(view->GetCurrentDate(), OleDateTime(2003, 2, 28, 0, 0, 0));
    EXPECT_EQ(LastNotification(), "OnDateChanged:\"2/28/2003\"");
    EXPECT_TRUE(view->SetCurrentDate(2004, 2, 31, true));
    EXPECT_EQ(ShownDay(), (CTavrelDay{2004, 2, 29}));

    // A month that does not exist (a control application may send one) changes nothing.
    host.notifications.clear();
    EXPECT_FALSE(view->SetCurrentDate(2004, 13, 1, true));
    EXPECT_FALSE(view->SetCurrentDate(2004, 0, 1, true));
    EXPECT_FALSE(view->SetCurrentDate(99999, 1, 1, true));
    EXPECT_TRUE(host.notifications.empty());
    EXPECT_EQ(ShownDay(), (CTavrelDay{2004, 2, 29}));
}

TEST_F(TavrelViewBehaviour, CommandsStoreTheLastViewAndKeysCycleWithoutStoringIt)
{
    CreateView(Monthly);
    ShowDate(2004, 1, 31);
    view->send(ui::WM_COMMAND, ui::MAKEWPARAM(ID_GOTO_NEXT, 0));
    EXPECT_EQ(ShownDay(), (CTavrelDay{2004, 2, 29})) << "Jan 31 + one month";
    view->send(ui::WM_COMMAND, ui::MAKEWPARAM(ID_GOTO_PREVIOUS, 0));
    EXPECT_EQ(ShownDay(), (CTavrelDay{2004, 1, 29}));

    view->send(ui::WM_COMMAND, ui::MAKEWPARAM(ID_VIEW_QUARTERLY, 0));
    EXPECT_EQ(view->GetViewMode(), Quarterly);
    EXPECT_EQ(app->GetSettings().GetLastView(), Quarterly);
    ShowDate(2003, 11, 30);
    automation->pressKey(ui::VK_NEXT);
    EXPECT_EQ(ShownDay(), (CTavrelDay{2004, 2, 29})) << "a quarter on from Nov 30, clamped";
    automation->pressKey(ui::VK_LEFT);
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 11, 29}));

    automation->pressKey(ui::VK_DOWN);
    EXPECT_EQ(view->GetViewMode(), Daily) << "down from quarterly";
    automation->pressKey(ui::VK_UP);
    EXPECT_EQ(view->GetViewMode(), Quarterly) << "up from daily";
    automation->pressKey(ui::VK_UP);
    EXPECT_EQ(view->GetViewMode(), Monthly);
    EXPECT_EQ(app->GetSettings().GetLastView(), Quarterly) << "keys leave LastView alone";

    // The same mode again still stores the mode in force.
    app->GetSettings().SetLastView(Daily);
    view->send(ui::WM_COMMAND, ui::MAKEWPARAM(ID_VIEW_MONTHLY, 0));
    EXPECT_EQ(app->GetSettings().GetLastView(), Monthly);
}

TEST_F(TavrelViewBehaviour, TodayGoesToTheDayViewFromTheWeekAndMonthButKeepsTheQuarter)
{
    CreateView(Weekly);
    ShowDate(2001, 3, 3);
    view->send(ui::WM_COMMAND, ui::MAKEWPARAM(ID_GOTO_TODAY, 0));
    EXPECT_EQ(view->GetViewMode(), Daily);
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 15}));
    ShowMode(Quarterly);
    ShowDate(2001, 3, 3);
    view->Today();
    EXPECT_EQ(view->GetViewMode(), Quarterly);
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 15}));
}

TEST_F(TavrelViewBehaviour, TheFirstRunAppliesTheDefaultSkinOnceAndTheModeComesFromLastView)
{
    EXPECT_TRUE(app->GetSettings().GetInitialized());
    CreateView(Weekly);
    EXPECT_EQ(skinsApplied, (std::vector<std::string>{"\\My Documents\\CalendarSkinDefault\\Default.TavrelSkin"}));
    EXPECT_FALSE(app->GetSettings().GetInitialized());
    EXPECT_EQ(view->GetViewMode(), Weekly);

    view.reset();
    CreateView(Daily);
    EXPECT_EQ(skinsApplied.size(), 1u);
    EXPECT_EQ(view->GetViewMode(), Daily);
}

TEST_F(TavrelViewBehaviour, ATapIsUnderASecondAndUnderTenPixels)
{
    CreateView(Monthly);
    ShowDate(2003, 8, 15);
    const gfx::Point day20 = CellCentre(24);

    // 999 ms and 9 pixels: a tap (the pen moves first, so it is no tap-and-hold).
    PenDown(day20);
    PenMove({day20.x + 9, day20.y});
    Wait(999);
    PenUp({day20.x + 9, day20.y});
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 20}));

    const gfx::Point day21 = CellCentre(25);
    PenDown(day21);
    PenMove({day21.x + 6, day21.y});
    Wait(1000);
    PenUp({day21.x + 6, day21.y});
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 20})) << "1000 ms is no tap";

    PenDown(day21);
    PenMove({day21.x + 6, day21.y + 4});
    PenUp({day21.x + 6, day21.y + 4});
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 20})) << "10 pixels is no tap";
}

TEST_F(TavrelViewBehaviour, TapsOnTheMonthReachTheRegionsMessages)
{
    CreateView(Monthly);
    ShowDate(2003, 8, 15);
    Tap(CellCentre(24));
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 20}));
    EXPECT_EQ(view->GetViewMode(), Monthly);
    Tap(CellCentre(24));
    EXPECT_EQ(view->GetViewMode(), Daily) << "a second tap on the selected day opens it";

    ShowMode(Monthly);
    Tap(CellCentre(2)); // a filled cell before the 1st
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 7, 20}));
    Tap(CellCentre(34)); // after July's last day (July has five rows)
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 20}));

    Tap({10, 33}); // the day bar
    EXPECT_EQ(view->GetViewMode(), Weekly);
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 20}));
    ShowMode(Monthly);
    Tap({200, 10}); // the right half of the title
    EXPECT_EQ(view->GetViewMode(), Quarterly);

    // In the quarter, a month's title shows that month.
    Tap({60, 140}); // September's title, bottom left
    EXPECT_EQ(view->GetViewMode(), Monthly);
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 9, 20}));
}

TEST_F(TavrelViewBehaviour, TheMonthMenuListsTheYearsMonthsAndGoesToTheOneChosen)
{
    CreateView(Monthly);
    ShowDate(2003, 8, 31);
    answer.choose = u"February 2003";
    host.notifications.clear();
    Tap({20, 10}); // the left half of the title
    ASSERT_EQ(answer.opened, 1);
    ASSERT_EQ(answer.items.size(), 12u);
    EXPECT_EQ(answer.items.front(), "January 2003");
    EXPECT_EQ(answer.items.back(), "December 2003");
    EXPECT_TRUE(answer.checked[7]);
    EXPECT_FALSE(answer.checked[6]);
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 2, 28}));
    EXPECT_EQ(LastNotification(), "OnDateChanged:\"2/28/2003\"");

    // The month already shown changes nothing and tells nobody.
    host.notifications.clear();
    answer.choose = u"February 2003";
    Tap({20, 10});
    EXPECT_EQ(answer.opened, 2);
    EXPECT_TRUE(host.notifications.empty());
}

class StandInEditor : public pim::AppointmentEditor {
public:
    bool edit(pim::Appointment& appointment) override
    {
        subjects.push_back(device::toUtf8(appointment.subject()));
        return true;
    }
    std::vector<std::string> subjects;
};

TEST_F(TavrelViewBehaviour, EventMenusListTheEventsUnderTheTapAndOpenTheOneChosen)
{
    ASSERT_TRUE(app->CreateOutlook());
    ASSERT_TRUE(app->LogonOutlook());
    auto item = app->GetOutlook()->createItem(pim::olAppointmentItem);
    item->setSubject(u"Dentist");
    item->setStart(OleDateTime(2003, 8, 20, 9, 0, 0));
    item->setEnd(OleDateTime(2003, 8, 20, 10, 0, 0));
    ASSERT_TRUE(item->save());
    auto editor = std::make_shared<StandInEditor>();
    auto previous = pim::AppointmentEditor::install(editor);

    CreateView(Monthly);
    ShowDate(2003, 8, 15);
    SetEvents({Appointment(OleDateTime(2003, 8, 20, 9, 0, 0), OleDateTime(2003, 8, 20, 10, 0, 0), u"Dentist",
                           std::int32_t(item->oid())),
               Appointment(OleDateTime(2003, 8, 20, 14, 5, 0), OleDateTime(2003, 8, 21, 10, 0, 0), u"Visit & tour")});
    gfx::Rect dentist;
    view->GetEventSnapshot().ForEach([&](const CTavrelEvent& event) {
        if (event.GetOID() != 0)
            dentist = event.GetBounds();
    });
    ASSERT_FALSE(dentist.isEmpty());

    answer.choose = u"9:00a Dentist";
    Tap(dentist.centre());
    EXPECT_EQ(answer.items, (std::vector<std::string>{"9:00a Dentist"}));
    EXPECT_EQ(editor->subjects, (std::vector<std::string>{"Dentist"}));
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 15})) << "the event's tap does not reach the cell";

    // The faded icon of the visit on the 21st is an event-menu region; the activity goes to the host.
    const gfx::Rect& cell21 = view->GetMonthLayout().cells[25];
    answer.choose = u"2:05p Visit && tour";
    Tap({cell21.right - 4, cell21.bottom - 4});
    EXPECT_EQ(answer.items, (std::vector<std::string>{"2:05p Visit & tour"}));
    EXPECT_EQ(host.opened, (std::vector<std::string>{"Visit & tour"}));

    // In the quarter, a tap on an event's mark never opens a menu; it reaches the day beneath.
    ShowMode(Quarterly);
    const int menus = answer.opened;
    view->GetEventSnapshot().ForEach([&](const CTavrelEvent& event) {
        if (event.GetOID() != 0)
            dentist = event.GetBounds();
    });
    ASSERT_FALSE(dentist.isEmpty());
    EXPECT_GE(dentist.left, 120) << "August is the top-right quarter";
    Tap(dentist.centre());
    EXPECT_EQ(answer.opened, menus);
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 20}));
    pim::AppointmentEditor::install(previous);
}

TEST_F(TavrelViewBehaviour, TheAgendaAndTheDayViewOpenEventsOnce)
{
    CreateView(Quarterly);
    ShowDate(2003, 8, 20);
    SetEvents({Appointment(OleDateTime(2003, 8, 20, 9, 0, 0), OleDateTime(2003, 8, 20, 10, 0, 0), u"Review"),
               Appointment(OleDateTime(2003, 8, 19, 22, 0, 0), OleDateTime(2003, 8, 20, 1, 30, 0), u"Night")});
    const TapRegion* agendaLine = nullptr;
    for (const TapRegion& region : view->GetTapRegions())
        if (region.GetMessage() == VM_OPEN_EVENT)
            agendaLine = &region;
    ASSERT_NE(agendaLine, nullptr);
    EXPECT_GE(agendaLine->GetRect().left, 121);
    EXPECT_GE(agendaLine->GetRect().top, 134);
    Tap(agendaLine->GetRect().topLeft());
    EXPECT_EQ(host.opened, (std::vector<std::string>{"Review"})) << "events in snapshot order: the night comes first";
    Snapshot("agenda");

    // In the day view a tap on an event's mark opens it, and its box does not open it again.
    host.opened.clear();
    ShowMode(Daily);
    gfx::Rect review;
    view->GetEventSnapshot().ForEach([&](const CTavrelEvent& event) {
        if (event.GetName() == u"Review")
            review = event.GetBounds();
    });
    ASSERT_FALSE(review.isEmpty());
    Tap({review.right - 2, review.top + 2});
    EXPECT_EQ(host.opened, (std::vector<std::string>{"Review"}));
    Snapshot("day");
}

TEST_F(TavrelViewBehaviour, UnchangedEventsDoNotRenderAndChangedOnesDo)
{
    CreateView(Monthly);
    const CTavrelEvent event = Appointment(OleDateTime(2003, 8, 20, 9, 0, 0), OleDateTime(2003, 8, 20, 10, 0, 0), u"A", 5);
    SetEvents({event});
    const unsigned renders = view->GetRenderCount();
    SetEvents({event});
    EXPECT_EQ(view->GetRenderCount(), renders);
    SetEvents({event, Appointment(OleDateTime(2003, 8, 21, 9, 0, 0), OleDateTime(2003, 8, 21, 10, 0, 0), u"B", 6)});
    EXPECT_EQ(view->GetRenderCount(), renders + 1);
    EXPECT_EQ(view->GetEventSnapshot().GetCount(), 2);

    // The reader's post from its own thread arrives as VM_REFRESH_EVENTS.
    std::thread reader([&] { view->PostRefreshEvents(); });
    reader.join();
    Settle();
    EXPECT_EQ(view->GetRenderCount(), renders + 1);
}

TEST_F(TavrelViewBehaviour, FadeChangesAreStoredAtOnceAndDrawnOnce250msAfterTheFirst)
{
    CreateView(Monthly);
    ShowDate(2003, 3, 10);
    EXPECT_TRUE(view->IsFadeCommandEnabled());
    view->send(ui::WM_COMMAND, ui::MAKEWPARAM(ID_BACKGROUND_FADE, 0));
    ASSERT_TRUE(view->IsFadeSliderShown());
    auto* slider = dynamic_cast<ui::Slider*>(view->findDescendant(IDC_FADE_SLIDER));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->position(), 50);
    EXPECT_EQ(slider->rect(), view->GetMonthLayout().titleArea);

    const unsigned renders = view->GetRenderCount();
    view->SetFadeLevel(40);
    Wait(100);
    view->SetFadeLevel(20);
    Wait(100);
    view->SetFadeLevel(0);
    EXPECT_EQ(app->GetSettings().GetTransparency(3), 0);
    EXPECT_EQ(view->GetRenderCount(), renders);
    Wait(50);
    EXPECT_EQ(view->GetRenderCount(), renders + 1);
    Wait(1000);
    EXPECT_EQ(view->GetRenderCount(), renders + 1) << "one shot";
    EXPECT_EQ(Pixel(17, 60), 0xFFC0C0u) << "March's 1st is a Saturday: cell 0 is a filler, now unfaded";
    EXPECT_EQ(app->GetSettings().GetTransparency(4), 50) << "other months keep theirs";

    // The slider follows month changes; a tap anywhere only hides it.
    ShowDate(2003, 4, 10);
    EXPECT_EQ(slider->position(), 50);
    Tap(CellCentre(20));
    EXPECT_FALSE(view->IsFadeSliderShown());
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 4, 10}));
}

TEST_F(TavrelViewBehaviour, FadeAppliesToTheStoreAndRegisteredCalendarsOnly)
{
    CreateView(Monthly);
    app->AddRegisteredCalendar(u"Projects");
    ASSERT_TRUE(app->SetCurrentCalendar(u"projects"));
    ui::CommandUpdate update;
    update.id = ID_BACKGROUND_FADE;
    view->send(ui::WM_IDLEUPDATECMDUI, 0, ui::LParam(&update));
    EXPECT_TRUE(update.handled);
    EXPECT_TRUE(update.enabled);

    app->GetCalendarData().SetCurrentCalendarName(u"Attached");
    update = {};
    update.id = ID_BACKGROUND_FADE;
    view->send(ui::WM_IDLEUPDATECMDUI, 0, ui::LParam(&update));
    EXPECT_FALSE(update.enabled);
    app->GetCalendarData().SetCurrentCalendarName(u"<Combined>");
    EXPECT_TRUE(view->IsFadeCommandEnabled());
}

TEST_F(TavrelViewBehaviour, ANewDayMovesTheTodayMarksAndNotifiesAgain)
{
    PinClock(2003, 8, 15, 23, 59);
    CreateView(Monthly);
    ShowDate(2003, 8, 15);
    host.notifications.clear();
    Wait(10000);
    EXPECT_TRUE(host.notifications.empty()) << "same day";
    device::DeviceClock::advanceForTesting(2min);
    const unsigned renders = view->GetRenderCount();
    Wait(10000);
    EXPECT_EQ(host.notifications, (std::vector<std::string>{"OnDateChanged:\"8/15/2003\""}));
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 15})) << "the shown date stays";
    EXPECT_GT(view->GetRenderCount(), renders);
    Wait(10000);
    EXPECT_EQ(host.notifications.size(), 1u);
}

TEST_F(TavrelViewBehaviour, TheDayChangeCheckCountsFromTheFirstPaintAndComparesWholeDates)
{
    // Midnight falls between the first paint and the first check, ten seconds later.
    PinClock(2003, 8, 15, 23, 59);
    device::DeviceClock::advanceForTesting(55s);
    CreateView(Monthly);
    ShowDate(2003, 8, 15);
    host.notifications.clear();
    device::DeviceClock::advanceForTesting(10s);
    Wait(10000);
    EXPECT_EQ(host.notifications, (std::vector<std::string>{"OnDateChanged:\"8/15/2003\""}));

    // The clock moves by exactly a month (16 August to 16 September): the day of the month is the
    // same, the date is not. Another day is shown, so the view only renders, for the today marks.
    ShowDate(2003, 8, 20);
    host.notifications.clear();
    const unsigned renders = view->GetRenderCount();
    device::DeviceClock::advanceForTesting(std::chrono::hours(24 * 31));
    Wait(10000);
    EXPECT_GT(view->GetRenderCount(), renders);
    EXPECT_TRUE(host.notifications.empty());
    EXPECT_EQ(ShownDay(), (CTavrelDay{2003, 8, 20}));
}

TEST_F(TavrelViewBehaviour, AReaderAskingForTheDateWaitsUntilTheNewDateIsDrawn)
{
    CreateView(Monthly);
    // While the view sets a date (and tells the host), a reader on another thread asks for it.
    std::future<OleDateTime> asked;
    bool answeredEarly = true;
    struct ReaderHost : RecordingHost {
        std::function<void()> onNotify;
        void SendNotification(const CQoString& text) override
        {
            RecordingHost::SendNotification(text);
            if (onNotify)
                onNotify();
        }
    } readerHost;
    CTavrelView second(*app, readerHost);
    second.SetResources(&pictures.table());
    ASSERT_TRUE(second.Create(frame, {0, 0, 240, 268}));
    readerHost.onNotify = [&] {
        asked = std::async(std::launch::async, [&] { return second.GetCurrentDate(); });
        answeredEarly = asked.wait_for(100ms) == std::future_status::ready;
    };
    ASSERT_TRUE(second.SetCurrentDate(2006, 6, 7, true));
    EXPECT_FALSE(answeredEarly) << "the reader waits for the date lock";
    EXPECT_EQ(asked.get(), OleDateTime(2006, 6, 7, 0, 0, 0));

    // Many reads against many changes: every date read is one that was set, whole.
    readerHost.onNotify = nullptr;
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done.load()) {
            const OleDateTime date = second.GetCurrentDate();
            if (date.GetYear() != 2000 + date.GetMonth() || date.GetHour() != 0)
                ++torn;
        }
    });
    for (int round = 0; round < 200; ++round) {
        const int month = 1 + round % 12;
        second.SetCurrentDate(2000 + month, month, 1 + round % 28, round % 4 == 0);
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}

} // namespace
} // namespace views_testing
