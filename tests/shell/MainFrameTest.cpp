// The main frame as the program starts it: the menu and tool buttons, the calendar items and their
// check marks, the commands, the about box, help, and the end of the program.

#include "MainFrameTestSupport.h"

#include "data/TavrelRegisteredCalendar.h"
#include "data/TavrelSettings.h"
#include "platform/device/ShellExecute.h"
#include "platform/net/UdpSocket.h"
#include "platform/pim/Application.h"
#include "platform/pim/editor/AppointmentDialog.h"
#include "platform/pim/editor/DialogAppointmentEditor.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/FileOpenDialog.h"
#include "platform/ui/Label.h"
#include "platform/ui/Picture.h"
#include "shell/AboutDlg.h"
#include "shell/TavrelCommands.h"
#include "views/TavrelView.h"
#include "views/TavrelViewMessages.h"

#include <condition_variable>
#include <fstream>
#include <mutex>
#include <thread>

namespace {

using namespace shell_testing;
using namespace std::chrono_literals;
using device::OleDateTime;

// A calendar attached from an address, as far as the frame cares.
class AttachedCalendar : public CTavrelRegisteredCalendar {
public:
    using CTavrelRegisteredCalendar::CTavrelRegisteredCalendar;
    CQoString GetTypeName() const override { return u"Remote"; }
    bool HasOwnAppearance() const override { return true; }
    std::unique_ptr<CTavrelCalendar> Clone() const override { return std::make_unique<AttachedCalendar>(*this); }
};

// "text=id" for a menu's own items, "-" for separators, "text>" for submenus.
std::vector<std::string> Items(const ui::Menu& menu)
{
    std::vector<std::string> items;
    for (std::size_t i = 0; i < menu.count(); ++i) {
        const ui::MenuItem& item = menu.item(i);
        if (item.separator)
            items.push_back("-");
        else if (item.submenu)
            items.push_back(Utf8(item.text) + ">");
        else
            items.push_back(Utf8(item.text) + "=" + std::to_string(item.id));
    }
    return items;
}

const ui::Menu& Submenu(const ui::Menu& menu, const char16_t* text)
{
    const ui::MenuItem* item = menu.findText(text);
    EXPECT_TRUE(item && item->submenu) << Utf8(text);
    static const ui::Menu none;
    return item && item->submenu ? *item->submenu : none;
}

// The check marks of Personal, the calendar items and Combined, as "name*" for a checked one.
std::vector<std::string> Checks(const ui::Menu& menu)
{
    std::vector<std::string> checks;
    for (std::size_t i = 0; i < menu.count(); ++i) {
        const ui::MenuItem& item = menu.item(i);
        if (item.id == ID_CALENDAR_PERSONAL || item.id == ID_CALENDAR_COMBINED
            || (item.id >= ID_CALENDAR_FIRST && item.id <= ID_CALENDAR_LAST))
            checks.push_back(Utf8(item.text) + (item.checked ? "*" : ""));
    }
    return checks;
}

using MainFrameTest = StartedProgram;

TEST_F(MainFrameTest, WithoutParametersTheFrameShowsAtOnceWithFiveToolButtons)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Frame().isShown());
    EXPECT_EQ(desktop.foreground(), &Frame());
    EXPECT_EQ(desktop.mainWindow(), Frame().handle());
    EXPECT_EQ(Utf8(Frame().text()), "Tavrel");
    ui::CommandBar& bar = Frame().commandBar();
    ASSERT_EQ(bar.buttonCount(), 5u);
    const int commands[] = {ID_GOTO_PREVIOUS, ID_GOTO_NEXT, ID_GOTO_TODAY, ID_CALENDAR_ATTACHED, ID_APP_ABOUT};
    const char* tips[] = {"Previous", "Next", "Go To Today", "Connect to remote calendars", "About"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(bar.button(i).command, commands[i]);
        EXPECT_EQ(Utf8(bar.button(i).toolTip), tips[i]);
        EXPECT_EQ(bar.button(i).picture.size(), (gfx::Size{16, 16})) << "the program's tool button picture";
    }
    EXPECT_EQ(Utf8(bar.menuToolTip()), "Calendar");
    EXPECT_EQ(Utf8(bar.menuTitle()), "Calendar");
    EXPECT_TRUE(app->OwnsMutex());
    EXPECT_TRUE(app->IsReaderRunning());
    ASSERT_FALSE(notifications.empty());
    EXPECT_EQ(notifications.front(), "OnInitialized:\"<Personal>\";\"Monthly\";\"12/8/2026\"");
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainFrameTest, TheControlParameterInAnyCaseStartsTheFrameHiddenWithASixthButton)
{
    ASSERT_TRUE(Start({u"/x", u"tAVRELcONTROL"}));
    EXPECT_TRUE(app->IsControlMode());
    EXPECT_TRUE(Frame().exists());
    EXPECT_FALSE(Frame().isShown());
    ui::CommandBar& bar = Frame().commandBar();
    ASSERT_EQ(bar.buttonCount(), 6u);
    EXPECT_EQ(bar.button(5).command, ID_SWITCH_TO_CLIENT);
    EXPECT_EQ(Utf8(bar.button(5).toolTip), "Switch back to application");
    EXPECT_TRUE(Frame().queryCommand(ID_SWITCH_TO_CLIENT).enabled);

    notifications.clear();
    Command(ID_SWITCH_TO_CLIENT);
    EXPECT_EQ(notifications, std::vector<std::string>{"OnShowClient"});
}

TEST_F(MainFrameTest, TheCalendarMenuHoldsEveryItemInOrder)
{
    ASSERT_TRUE(Start());
    const ui::Menu& menu = Frame().commandBar().menu();
    EXPECT_EQ(Items(menu), (std::vector<std::string>{"Personal=32774", "Combined=32776", "Attached...=32799", "-", "&View>",
                                                     "&Go To>", "&Rules...=32795", "-", "&Information>", "Options>",
                                                     "Exit=32791"}));
    EXPECT_EQ(Items(Submenu(menu, u"View")),
              (std::vector<std::string>{"&Daily=32805", "&Weekly=32806", "&Monthly=32807", "&Quarterly=32808"}));
    EXPECT_EQ(Items(Submenu(menu, u"Go To")), (std::vector<std::string>{"&Next=32792", "&Previous=32793", "&Today=32800"}));
    EXPECT_EQ(Items(Submenu(menu, u"Information")), (std::vector<std::string>{"&Online Help=32801", "&About...=57664"}));
    const ui::Menu& options = Submenu(menu, u"Options");
    EXPECT_EQ(Items(options), (std::vector<std::string>{"Background>", "Choose Skin...=32798"}));
    EXPECT_EQ(Items(Submenu(options, u"Background")), (std::vector<std::string>{"Choose...=32781", "Fade...=32780"}));
    EXPECT_EQ(Checks(menu), (std::vector<std::string>{"Personal*", "Combined"}));
}

TEST_F(MainFrameTest, EveryMenuCommandIsLiveAndADisabledCommandDoesNothing)
{
    ASSERT_TRUE(Start());
    for (int id : {ID_CALENDAR_PERSONAL, ID_CALENDAR_COMBINED, ID_CALENDAR_ATTACHED, ID_CHOOSE_SKIN, ID_HELP_ONLINE,
                   ID_APP_ABOUT, ID_APP_EXIT, ID_BACKGROUND_FADE, ID_GOTO_NEXT, ID_CALENDAR_FIRST, ID_BACKGROUND_CHOOSE,
                   ID_NEW_FIRST, ID_NEW_FIRST + 20, ID_NEW_LAST, ID_VIEW_RULES})
        EXPECT_TRUE(Frame().queryCommand(id).enabled) << id;
    EXPECT_FALSE(Frame().queryCommand(ID_SWITCH_TO_CLIENT).enabled) << "only a control application has a client";

    // The menu greys nothing when it opens; the tool buttons are live.
    desktop.runUntilIdle();
    ui::CommandBar& bar = Frame().commandBar();
    EXPECT_TRUE(bar.button(3).enabled);
    EXPECT_TRUE(bar.button(4).enabled);
    bool live = false;
    onDialog = [&](ui::Window&) {};
    automation.onModal([&](ui::Window&) {
        const ui::MenuItem* rules = bar.menu().findCommand(ID_VIEW_RULES);
        const ui::MenuItem* attached = bar.menu().findCommand(ID_CALENDAR_ATTACHED);
        live = rules && attached && !rules->grayed && !attached->grayed
            && !bar.menu().findCommand(ID_APP_EXIT)->grayed;
        automation.cancel();
    });
    automation.tapAt(bar.screenRect().topLeft() + bar.menuButtonRect().centre());
    EXPECT_TRUE(live);

    // However it is sent, a disabled command is not carried out.
    Command(ID_SWITCH_TO_CLIENT);
    EXPECT_EQ(std::count(notifications.begin(), notifications.end(), std::string("OnShowClient")), 0);
}

TEST_F(MainFrameTest, AStoredCalendarThatIsGoneFallsBackToPersonal)
{
    CTavrelSettings().SetCurrentCalendar(u"Football");
    ASSERT_TRUE(Start());
    EXPECT_EQ(Utf8(app->GetCurrentCalendarName().View()), "<Personal>");
    EXPECT_EQ(Utf8(app->GetSettings().GetCurrentCalendar().View()), "<Personal>");
    EXPECT_EQ(Checks(Frame().commandBar().menu()), (std::vector<std::string>{"Personal*", "Combined"}));
}

TEST_F(MainFrameTest, CalendarItemsCountRegisteredThenRemoteCalendarsAndTheirChecksFollowTheCurrentCalendar)
{
    ASSERT_TRUE(Start());
    app->AddRegisteredCalendar(u"Projects");
    app->AddRegisteredCalendar(u"R&D");
    {
        std::lock_guard calendars(app->GetCalendarListLock());
        app->GetCalendarData().AddRemoteCalendar(AttachedCalendar(u"Football"));
    }
    Frame().BuildCommandBar();
    const ui::Menu& menu = Frame().commandBar().menu();
    const std::vector<std::string> items = Items(menu);
    EXPECT_EQ(items.size(), 14u);
    EXPECT_EQ(std::vector<std::string>(items.begin(), items.begin() + 5),
              (std::vector<std::string>{"Personal=32774", "Projects=500", "R&&D=501", "Football=502", "Combined=32776"}));

    notifications.clear();
    ASSERT_TRUE(app->SetCurrentCalendar(u"r&d"));
    EXPECT_EQ(Checks(menu), (std::vector<std::string>{"Personal", "Projects", "R&&D*", "Football", "Combined"}));
    EXPECT_EQ(notifications, std::vector<std::string>{"OnCalendarChanged:\"R&D\""});

    Command(ID_CALENDAR_FIRST + 2);
    EXPECT_EQ(Utf8(app->GetCurrentCalendarName().View()), "Football");
    EXPECT_EQ(Checks(menu), (std::vector<std::string>{"Personal", "Projects", "R&&D", "Football*", "Combined"}));
    Command(ID_CALENDAR_COMBINED);
    EXPECT_EQ(Utf8(app->GetCurrentCalendarName().View()), "<Combined>");
    EXPECT_EQ(Checks(menu), (std::vector<std::string>{"Personal", "Projects", "R&&D", "Football", "Combined*"}));
    Command(ID_CALENDAR_FIRST + 3); // no such calendar: nothing changes
    EXPECT_EQ(Utf8(app->GetCurrentCalendarName().View()), "<Combined>");
    Command(ID_CALENDAR_PERSONAL);
    EXPECT_EQ(Checks(menu), (std::vector<std::string>{"Personal*", "Projects", "R&&D", "Football", "Combined"}));
    EXPECT_EQ(Utf8(app->GetSettings().GetCurrentCalendar().View()), "<Personal>");
}

TEST_F(MainFrameTest, TheAboutBoxShowsTheIconAndTheVersion)
{
    ASSERT_TRUE(Start());
    int shown = 0;
    onDialog = [&](ui::Window& window) {
        auto* about = dynamic_cast<CAboutDlg*>(&window);
        ASSERT_TRUE(about);
        ++shown;
        EXPECT_EQ(about->id(), IDD_ABOUTBOX);
        EXPECT_EQ(Utf8(about->text()), "About Tavrel");
        EXPECT_EQ(Utf8(about->control(CAboutDlg::VersionId)->text()), "Tavrel Version 3.41");
        ASSERT_TRUE(about->controlAs<ui::Picture>(CAboutDlg::IconId));
        EXPECT_EQ(about->controlAs<ui::Picture>(CAboutDlg::IconId)->picture().size(), (gfx::Size{32, 32}));
        EXPECT_FALSE(Utf8(about->control(CAboutDlg::NoticeId)->text()).empty());
        automation.confirm();
    };
    Command(ID_APP_ABOUT);
    EXPECT_EQ(shown, 1);
    // The tool button opens it too.
    ui::CommandBar& bar = Frame().commandBar();
    automation.tapAt(bar.screenRect().topLeft() + bar.buttonRect(4).centre());
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(desktop.foreground(), &Frame());
}

TEST_F(MainFrameTest, OnlineHelpStartsTheHelpViewerAtTheContentsAndTellsWhenItCannot)
{
    ASSERT_TRUE(Start());
    std::vector<std::string> started;
    bool succeeds = true;
    device::ShellExecute::setInterceptor([&](const device::ShellExecute::Request& request, bool* result) {
        started.push_back(Utf8(request.file) + " " + Utf8(request.parameters));
        *result = succeeds;
        return true;
    });
    Command(ID_HELP_ONLINE);
    Frame().send(ui::WM_HELP);
    EXPECT_EQ(started, (std::vector<std::string>{"PegHelp.exe Tavrel.htm#Main_Contents", "PegHelp.exe Tavrel.htm#Main_Contents"}));
    EXPECT_TRUE(messages.empty());

    succeeds = false;
    Command(ID_HELP_ONLINE);
    device::ShellExecute::setInterceptor({});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Online Help cannot be shown.", 0), 0u) << messages[0];
}

TEST_F(MainFrameTest, ChooseSkinAppliesTheChosenSkinFileAndRedraws)
{
    const std::string picture = "GIF89a"; // the loader only needs the files to exist
    std::filesystem::create_directories(device.host("My Documents/Winter"));
    std::ofstream(device.host("My Documents/Winter/Snow.jpg")) << picture;
    std::ofstream(device.host("My Documents/Winter/Winter.TavrelSkin")) << "[Skin]\r\nName=Winter\r\n[Backgrounds]\r\nDefault=Snow.jpg,30\r\n\r\n";
    ASSERT_TRUE(Start());
    const unsigned renders = Frame().GetView()->GetRenderCount();
    onDialog = [&](ui::Window& window) {
        auto* dialog = dynamic_cast<ui::FileOpenDialog*>(&window);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->filters().size(), 2u);
        EXPECT_EQ(Utf8(dialog->filters()[0].name), "Skin Files (*.TavrelSkin)");
        dialog->openFolder(u"\\My Documents\\Winter");
        automation.tap(dialog->control(ui::FileOpenDialog::nameFieldId));
        automation.typeText(u"Winter.TavrelSkin");
        automation.confirm();
    };
    Command(ID_CHOOSE_SKIN);
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(Utf8(app->GetSettings().GetBackground(1).View()), "\\My Documents\\Winter\\Snow.jpg");
    EXPECT_EQ(app->GetSettings().GetTransparency(12), 30);
    EXPECT_GT(Frame().GetView()->GetRenderCount(), renders);
    EXPECT_FALSE(desktop.isWaitCursorShown());
}

TEST_F(MainFrameTest, ExitEndsTheLoopAndTellsControlApplicationsWhileTheFrameExists)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForReaderPass());
    Frame().post(ui::WM_COMMAND, ui::MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_EQ(desktop.run(), 0);
    notifications.clear();
    app->SetCurrentCalendar(u"<Combined>");
    Stop();
    EXPECT_EQ(notifications, (std::vector<std::string>{"OnCalendarChanged:\"<Combined>\"", "OnCalendarClose"}));
    EXPECT_EQ(Utf8(CTavrelSettings().GetCurrentCalendar().View()), "<Combined>");
}

TEST_F(MainFrameTest, ClosingTheFrameEndsTheLoopWithoutAFrameLeftToSayGoodbye)
{
    ASSERT_TRUE(Start());
    Frame().post(ui::WM_CLOSE);
    EXPECT_EQ(desktop.run(), 0);
    Stop();
    EXPECT_EQ(std::count(notifications.begin(), notifications.end(), std::string("OnCalendarClose")), 0)
        << ::testing::PrintToString(notifications);
}

TEST_F(MainFrameTest, ExitWhileTheReaderIsInTheMiddleOfAReadEndsWithinHalfASecond)
{
    AddAppointment(u"Dentist", OleDateTime(2026, 12, 8, 15, 0, 0), OleDateTime(2026, 12, 8, 16, 0, 0));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForReaderPass());

    // Another thread holds the rules: the reader's next pass stops at its first rule match, in the
    // middle of its read, holding the event and calendar list locks.
    std::mutex mutex;
    std::condition_variable changed;
    bool held = false, release = false;
    std::thread holder([&] {
        std::lock_guard rules(app->GetRulesLock());
        std::unique_lock lock(mutex);
        held = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
    });
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return held; });
    }
    app->RequestRefresh();
    std::this_thread::sleep_for(300ms);

    const auto started = std::chrono::steady_clock::now();
    Frame().post(ui::WM_COMMAND, ui::MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_EQ(desktop.run(), 0);
    Stop();
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, 450ms) << "the reader was in the middle of a read and was waited for";
    EXPECT_LT(took, 1500ms);

    {
        std::lock_guard lock(mutex);
        release = true;
    }
    changed.notify_all();
    holder.join();
    std::this_thread::sleep_for(200ms); // the reader ends on its own
}

TEST_F(MainFrameTest, TheStoreThatCannotBeOpenedEndsStartUpWithTheAttachMessage)
{
    std::filesystem::create_directories(device.root() / "pim.db"); // a folder where the store should be
    EXPECT_FALSE(Start());
    EXPECT_EQ(messages, std::vector<std::string>{"Unable to attach to Pocket Outlook Object Manager"});
    EXPECT_EQ(app->GetMainFrame(), nullptr);
}

TEST_F(MainFrameTest, AStoreThatCannotBeReadEndsStartUpWithTheLogonMessage)
{
    std::ofstream(device.root() / "pim.db", std::ios::binary) << std::string(8192, 'Z');
    EXPECT_FALSE(Start());
    EXPECT_EQ(messages, std::vector<std::string>{"Unable to Log on to Pocket Outlook Object Manager"});
    EXPECT_FALSE(app->IsReaderRunning());
}

TEST_F(MainFrameTest, TappingAnAppointmentOfTheDayOpensItInTheEditorAndTheViewShowsTheChange)
{
    AddAppointment(u"Dentist", OleDateTime(2026, 12, 8, 15, 0, 0), OleDateTime(2026, 12, 8, 16, 0, 0));
    auto previous = pim::AppointmentEditor::install(std::make_shared<pim::DialogAppointmentEditor>()); // as the program does
    ASSERT_TRUE(Start());
    Command(ID_VIEW_DAILY);
    ASSERT_TRUE(WaitForReaderPass());
    CTavrelView& view = *Frame().GetView();
    auto first = [&view] {
        CTavrelEvent event;
        view.GetEventSnapshot().ForEach([&](const CTavrelEvent& shown) { event = shown; });
        return event;
    };
    ASSERT_EQ(view.GetEventSnapshot().GetCount(), 1);
    const gfx::Rect drawn = first().GetBounds();
    ASSERT_FALSE(drawn.isEmpty());

    onDialog = [&](ui::Window& window) {
        auto* editor = dynamic_cast<pim::AppointmentDialog*>(&window);
        ASSERT_TRUE(editor);
        EXPECT_EQ(Utf8(editor->control(pim::AppointmentDialog::subjectId)->text()), "Dentist");
        automation.tap(editor->control(pim::AppointmentDialog::subjectId));
        automation.pressKey(ui::VK_END);
        automation.typeText(u" check-up");
        automation.confirm();
    };
    automation.tapAt(view.toScreen(drawn.centre()));
    pim::AppointmentEditor::install(previous);

    auto store = pim::Application::create();
    ASSERT_TRUE(store && store->logon());
    auto items = store->getDefaultFolder(pim::olFolderCalendar)->items();
    auto item = items->find(u"");
    ASSERT_TRUE(item);
    EXPECT_EQ(Utf8(item->subject()), "Dentist check-up");
    // The reader reads the change at once and the view takes it in.
    for (int i = 0; i < 400 && Utf8(first().GetName().View()) != "Dentist check-up"; ++i) {
        std::this_thread::sleep_for(10ms);
        desktop.runUntilIdle();
    }
    EXPECT_EQ(Utf8(first().GetName().View()), "Dentist check-up");
}

TEST_F(MainFrameTest, AControlPortThatIsTakenIsToldAndTheProgramCarriesOnWithoutControlApplications)
{
    net::UdpSocket other;
    ASSERT_TRUE(other.open(0));
    app = std::make_unique<CTavrelApp>();
    app->SetControlPorts(other.localPort(), 47913);
    ASSERT_TRUE(app->InitInstance({}));
    desktop.runUntilIdle();
    EXPECT_EQ(messages, std::vector<std::string>{"Error initializing external control socket"});
    EXPECT_TRUE(Frame().isShown());
    EXPECT_TRUE(app->IsReaderRunning());
}

TEST_F(MainFrameTest, TheMutexIsOwnedByTheFirstProgramOnly)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(app->OwnsMutex());
    {
        CTavrelApp second;
        EXPECT_FALSE(second.OwnsMutex());
    }
    Stop();
    CTavrelApp next;
    EXPECT_TRUE(next.OwnsMutex()) << "closed with the application";
}

TEST_F(MainFrameTest, AnActivityAsksItsApplicationAndACombinedEventShowsItsCalendar)
{
    ASSERT_TRUE(Start());
    app->AddRegisteredCalendar(u"Projects");
    notifications.clear();
    CTavrelEvent activity(OleDateTime(2026, 12, 8, 9, 0, 0), OleDateTime(2026, 12, 8, 10, 0, 0), CQoString(u"A7"),
                          u"Review", u"");
    activity.SetChangeable(true);
    EXPECT_TRUE(Frame().OpenNonStoreEvent(activity));
    EXPECT_EQ(notifications,
              std::vector<std::string>{"OnRequestChangeActivity:\"A7\";\"12/8/2026 9:00:00 AM\";\"12/8/2026 10:00:00 AM\""});

    ASSERT_TRUE(app->SetCurrentCalendar(u"<Combined>"));
    CTavrelEvent combined(OleDateTime(2026, 12, 8, 9, 0, 0), OleDateTime(2026, 12, 8, 10, 0, 0), CQoString(),
                          u"Meeting (Projects)", u"");
    EXPECT_TRUE(Frame().OpenNonStoreEvent(combined));
    EXPECT_EQ(Utf8(app->GetCurrentCalendarName().View()), "Projects");
}

} // namespace
