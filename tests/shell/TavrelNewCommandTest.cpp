// The day menu in the running program: a hold on a day, an item of "New", and the appointment in
// the store and the view — from a built-in item through the appointment editor, from a template
// without it, from "Customize...", and a registered calendar's activity kinds asked of its control
// application. Also the background picture of "Choose...".

#include "MainFrameTestSupport.h"

#include "data/TavrelRegisteredCalendar.h"
#include "data/TavrelSettings.h"
#include "platform/gfx/PngWriter.h"
#include "platform/pim/Application.h"
#include "platform/pim/AppointmentEditor.h"
#include "platform/ui/FileOpenDialog.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PopupMenu.h"
#include "shell/TavrelCommands.h"
#include "shell/TavrelNewCommand.h"
#include "templates/AppointmentTypesDlg.h"
#include "templates/TavrelTemplateStore.h"
#include "views/TavrelView.h"
#include "views/TavrelViewMessages.h"

#include <fstream>
#include <thread>

namespace {

using namespace shell_testing;
using namespace std::chrono_literals;
using device::OleDateTime;

// An appointment editor that records what it showed and closes at once.
class RecordingEditor : public pim::AppointmentEditor {
public:
    bool edit(pim::Appointment& appointment) override
    {
        subjects.push_back(Utf8(appointment.subject()));
        return true;
    }
    std::vector<std::string> subjects;
};

struct StoredAppointment {
    std::string subject;
    OleDateTime start;
    OleDateTime end;
    bool allDay;
};

class TavrelNewCommandTest : public StartedProgram {
protected:
    TavrelNewCommandTest() { previous = pim::AppointmentEditor::install(editor); }
    ~TavrelNewCommandTest() override { pim::AppointmentEditor::install(previous); }

    CTavrelView& View() { return *Frame().GetView(); }
    // The month cell of a day of December 2026 (the 1st is a Tuesday, column 2).
    gfx::Point DecemberCell(int day) { return View().GetMonthLayout().cells[std::size_t(day + 1)].centre(); }

    // Holds the stylus on a point of the view and chooses the item of the menu (submenus are
    // opened on the way).
    void HoldAndChoose(gfx::Point client, const char16_t* item)
    {
        auto previousDialog = onDialog;
        onDialog = [&](ui::Window& window) {
            if (!ui::PopupMenu::active() || &window != ui::PopupMenu::active()->levels().front().get()) {
                if (previousDialog)
                    previousDialog(window);
                return;
            }
            if (!automation.chooseMenuItem(item)) {
                ADD_FAILURE() << "no menu item " << Utf8(item);
                ui::PopupMenu::active()->dismiss();
            }
        };
        automation.holdAt(View().toScreen(client));
        desktop.runUntilIdle();
        onDialog = previousDialog;
    }

    static std::vector<StoredAppointment> Stored()
    {
        std::vector<StoredAppointment> stored;
        auto store = pim::Application::create();
        EXPECT_TRUE(store && store->logon());
        auto items = store->getDefaultFolder(pim::olFolderCalendar)->items();
        for (auto item = items->find(u""); item; item = items->findNext())
            stored.push_back({Utf8(item->subject()), item->start(), item->end(), item->allDayEvent()});
        return stored;
    }

    // Lets the reader and the view take in the store until the view shows `count` events.
    bool WaitForShownEvents(int count)
    {
        for (int i = 0; i < 2000; ++i) {
            desktop.runUntilIdle();
            if (View().GetEventSnapshot().GetCount() == count)
                return true;
            std::this_thread::sleep_for(5ms);
        }
        return false;
    }

    std::shared_ptr<RecordingEditor> editor = std::make_shared<RecordingEditor>();
    std::shared_ptr<pim::AppointmentEditor> previous;
};

TEST_F(TavrelNewCommandTest, HoldingADayAndChoosingAppointmentMakesItAtTheFirstFreeHourAndShowsIt)
{
    AddAppointment(u"Standup", OleDateTime(2026, 12, 10, 9, 0, 0), OleDateTime(2026, 12, 10, 10, 0, 0));
    AddAppointment(u"Review", OleDateTime(2026, 12, 10, 10, 0, 0), OleDateTime(2026, 12, 10, 11, 0, 0));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForReaderPass());
    ASSERT_EQ(View().GetEventSnapshot().GetCount(), 2);

    HoldAndChoose(DecemberCell(10), u"Appointment");
    EXPECT_EQ(View().GetHeldDate(), OleDateTime(2026, 12, 10, 0, 0, 0));
    EXPECT_EQ(editor->subjects, std::vector<std::string>{"New Appointment"});
    const std::vector<StoredAppointment> stored = Stored();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2].subject, "New Appointment");
    EXPECT_EQ(stored[2].start, OleDateTime(2026, 12, 10, 11, 0, 0));
    EXPECT_EQ(stored[2].end, OleDateTime(2026, 12, 10, 12, 0, 0));
    EXPECT_FALSE(stored[2].allDay);
    EXPECT_TRUE(WaitForShownEvents(3)) << "the reader reads again at once and the view draws it";

    // "All Day Appointment" on the same day: the day, all day.
    HoldAndChoose(DecemberCell(10), u"All Day Appointment");
    const std::vector<StoredAppointment> now = Stored();
    ASSERT_EQ(now.size(), 4u);
    EXPECT_EQ(now[0].start, OleDateTime(2026, 12, 10, 0, 0, 0));
    EXPECT_EQ(now[0].end, OleDateTime(2026, 12, 10, 0, 0, 0));
    EXPECT_TRUE(now[0].allDay);
}

TEST_F(TavrelNewCommandTest, ATemplateFromTheMenuIsSavedWithoutTheEditorAndCustomizeRebuildsTheCommandBar)
{
    CTavrelAppointmentTemplate lunch;
    lunch.subject = u"Lunch";
    lunch.duration = u"45 min";
    lunch.startTime = u"12pm";
    ASSERT_TRUE(CTavrelTemplateStore().Write(lunch));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForReaderPass());

    HoldAndChoose(DecemberCell(9), u"Lunch");
    EXPECT_TRUE(editor->subjects.empty());
    std::vector<StoredAppointment> stored = Stored();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].subject, "Lunch");
    EXPECT_EQ(stored[0].start, OleDateTime(2026, 12, 9, 12, 0, 0));
    EXPECT_EQ(stored[0].end, OleDateTime(2026, 12, 9, 12, 45, 0));
    EXPECT_TRUE(WaitForShownEvents(1));

    // "Customize..." opens the Appointment Types dialog with the template listed.
    std::string listed;
    onDialog = [&](ui::Window& window) {
        if (auto* types = dynamic_cast<CAppointmentTypesDlg*>(&window)) {
            listed = Utf8(types->controlAs<ui::ListBox>(CAppointmentTypesDlg::IDC_TEMPLATES)->itemText(0));
            automation.confirm();
        }
    };
    const std::size_t buttons = Frame().commandBar().buttonCount();
    HoldAndChoose(DecemberCell(9), u"Customize...");
    EXPECT_EQ(listed, "Lunch");
    EXPECT_EQ(Frame().commandBar().buttonCount(), buttons);
    EXPECT_TRUE(Frame().commandBar().menu().findCommand(ID_CALENDAR_PERSONAL)) << "the calendar menu is built again";

    // A template position that names nothing does nothing.
    Command(ID_NEW_LAST);
    EXPECT_EQ(Stored().size(), 1u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TavrelNewCommandTest, ARegisteredCalendarsKindsAskItsApplicationFromTheHeldHour)
{
    ASSERT_TRUE(Start());
    app->AddRegisteredCalendar(u"Projects").SetFactories(u"Call,Visit");
    ASSERT_TRUE(app->SetCurrentCalendar(u"Projects"));
    Command(ID_VIEW_DAILY);
    desktop.runUntilIdle();
    const gfx::Rect rows = View().GetDayRegions().GetAt(0).GetRect();
    notifications.clear();
    HoldAndChoose({120, rows.bottom - 2}, u"Visit");
    EXPECT_EQ(notifications,
              std::vector<std::string>{"OnRequestAddActivity:\"12/8/2026 11:00:00 PM\";"
                                       "\"12/8/2026 11:30:00 PM\";\"Visit\""});
    notifications.clear();
    HoldAndChoose({120, rows.top + rows.height() * 14 / 24 + 1}, u"Call");
    EXPECT_EQ(notifications,
              std::vector<std::string>{"OnRequestAddActivity:\"12/8/2026 2:00:00 PM\";"
                                       "\"12/8/2026 3:00:00 PM\";\"Call\""});
    EXPECT_TRUE(Stored().empty()) << "the calendar itself adds nothing";

    // In "<Combined>" the "New" items ask nothing.
    ASSERT_TRUE(app->SetCurrentCalendar(u"<Combined>"));
    notifications.clear();
    Command(ID_NEW_FIRST);
    EXPECT_TRUE(notifications.empty());
    EXPECT_TRUE(Stored().empty());
}

TEST_F(TavrelNewCommandTest, TheDayMenusAppearanceItemsFollowTheFramesCommands)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForReaderPass());
    std::vector<std::string> greyed;
    onDialog = [&](ui::Window& window) {
        ui::PopupMenu* menu = ui::PopupMenu::active();
        if (!menu || &window != menu->levels().front().get())
            return;
        const ui::Menu& items = menu->levels().front()->menu();
        for (std::size_t i = 0; i < items.count(); ++i)
            if (items.item(i).grayed)
                greyed.push_back(Utf8(items.item(i).text));
        menu->dismiss();
    };
    automation.holdAt(View().toScreen(DecemberCell(12)));
    // Every appearance item is live, "Set Icon Rules..." with the frame's rules command.
    EXPECT_EQ(greyed, std::vector<std::string>{});

    // Next Month from a blank cell after the 31st (the last row's last cell).
    onDialog = {};
    HoldAndChoose(View().GetMonthLayout().cells[34].centre(), u"Next Month");
    EXPECT_EQ(CTavrelDay::Of(View().GetCurrentDate()), (CTavrelDay{2027, 1, 8}));
}

TEST_F(TavrelNewCommandTest, ChooseSetsTheBackgroundOfTheShownMonthAndTellsWhenThePictureCannotBeRead)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForReaderPass());
    std::ofstream(device.host("My Documents/Broken.jpg")) << "no picture";
    const std::vector<std::uint8_t> png = gfx::PngWriter::encode(gfx::Surface(240, 228, 0x402010));
    std::ofstream(device.host("My Documents/Sea.png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));

    const char16_t* chosen = u"Broken.jpg";
    onDialog = [&](ui::Window& window) {
        if (auto* open = dynamic_cast<ui::FileOpenDialog*>(&window)) {
            EXPECT_EQ(Utf8(open->filters().front().name), "Image Files");
            automation.tap(open->control(ui::FileOpenDialog::nameFieldId));
            automation.typeText(chosen);
            automation.confirm();
        }
    };
    Command(ID_BACKGROUND_CHOOSE);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The picture cannot be read; the background stays as it was.\n\\My Documents\\Broken.jpg");
    EXPECT_TRUE(app->GetSettings().GetBackground(12).IsEmpty());

    messages.clear();
    chosen = u"Sea.png";
    Command(ID_BACKGROUND_CHOOSE);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Utf8(app->GetSettings().GetBackground(12).View()), "\\My Documents\\Sea.png");
}

} // namespace
