#include "shell/MainFrame.h"

#include "assets/ResourceIds.h"
#include "common/QoLog.h"
#include "control/TavrelControl.h"
#include "control/TavrelNotifications.h"
#include "data/TavrelCalendarData.h"
#include "data/TavrelSettings.h"
#include "platform/device/ShellExecute.h"
#include "platform/gfx/ImageResource.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/FileOpenDialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"
#include "rules/TavrelRules.h"
#include "rules/TavrelRulesDlg.h"
#include "shell/AboutDlg.h"
#include "shell/TavrelApp.h"
#include "shell/TavrelAttachedCalendarsCommand.h"
#include "shell/TavrelCommands.h"
#include "shell/TavrelFrameControlHost.h"
#include "shell/TavrelIconPathSettings.h"
#include "shell/TavrelMainMenu.h"
#include "shell/TavrelNewCommand.h"
#include "shell/TavrelReaderPassWatch.h"
#include "shell/TavrelStrings.h"
#include "skins/TavrelSkinLoader.h"
#include "views/TavrelView.h"
#include "views/TavrelViewMessages.h"

#include <mutex>

namespace {

struct ToolButton {
    int command;
    int picture;
};

// Left to right; the last one only in control mode.
constexpr ToolButton toolButtons[] = {
    {ID_GOTO_PREVIOUS, IDB_TOOL_PREVIOUS}, {ID_GOTO_NEXT, IDB_TOOL_NEXT},   {ID_GOTO_TODAY, IDB_TOOL_TODAY},
    {ID_CALENDAR_ATTACHED, IDB_TOOL_ATTACHED}, {ID_APP_ABOUT, IDB_TOOL_ABOUT}, {ID_SWITCH_TO_CLIENT, IDB_TOOL_SWITCH_TO_VARNOW},
};
constexpr std::size_t normalButtonCount = 5;
constexpr int calendarItemLimit = ID_CALENDAR_LAST - ID_CALENDAR_FIRST + 1;

// A calendar's name as a menu item shows it: "&" stands for itself, not for a mnemonic.
device::WideString MenuText(const CQoString& name)
{
    device::WideString text;
    for (char16_t c : name.View()) {
        text += c;
        if (c == u'&')
            text += u'&';
    }
    return text;
}

// Calls use(index, calendar) for the registered calendars and then the remote ones, as far as the
// menu has items for them. Hold the calendar list lock.
template <typename Use>
void ForEachCalendarItem(CTavrelCalendarData& data, Use&& use)
{
    int index = 0;
    for (auto* list : {&data.GetRegisteredCalendars(), &data.GetRemoteCalendars()})
        for (const auto& calendar : *list) {
            if (index >= calendarItemLimit)
                return;
            use(index++, *calendar);
        }
}

} // namespace

CMainFrame::CMainFrame(CTavrelApp& app) : m_app(app), m_notify(app.GetNotificationSink())
{
    CTavrelStrings::Register();
    DefineCommands();
}

CMainFrame::~CMainFrame()
{
    // While this object is still a CMainFrame: onDestroy lets go of the application first.
    destroy();
}

bool CMainFrame::Create()
{
    if (!ui::FrameWindow::create(Title, !m_app.IsControlMode()))
        return false;
    m_view = std::make_unique<CTavrelView>(m_app, *this);
    m_view->SetSkinLoader([this](const CQoString& file) { return LoadSkin(file); });
    m_view->SetNewMenuText(CTavrelStrings::Load(IDS_NEW));
    if (!m_view->Create(*this, viewRect())) {
        destroy();
        return false;
    }
    m_readerView = std::make_unique<CTavrelReaderPassWatch>(*m_view, m_app.GetCalendarData());
    setView(m_view.get());

    addCommandRange(
        ID_CALENDAR_FIRST, ID_CALENDAR_LAST,
        [this](int id, int code) {
            if (code == 0)
                SelectCalendarItem(id - ID_CALENDAR_FIRST);
        },
        [](ui::CommandUpdate& update) { update.enable(true); });
    // The "New" items of the day menu make appointments and ask control applications for
    // activities, starting at the date-time the user held.
    m_newCommand = std::make_unique<CTavrelNewCommand>(m_app, *this);
    addCommandRange(
        ID_NEW_FIRST, ID_NEW_LAST,
        [this](int id, int code) {
            if (code == 0)
                m_newCommand->RequestNew(id, m_view->GetHeldDate());
        },
        [](ui::CommandUpdate& update) { update.enable(true); });

    BuildCommandBar();
    OpenControlSocket();
    SendNotification(CTavrelNotifications::Initialized(m_app.GetCurrentCalendarName(), m_view->GetViewMode(),
                                                       m_view->GetCurrentDate()));
    m_app.SetMainWindow(this);
    desktop()->setMainWindow(this);
    if (isShown())
        setFocus();
    return true;
}

void CMainFrame::OpenControlSocket()
{
    m_controlHost = std::make_unique<CTavrelFrameControlHost>(m_app, *this);
    m_control = std::make_unique<CTavrelControl>(m_app, *m_controlHost, this);
    if (m_control->Open(handle(), std::uint16_t(m_app.GetControlPort()), std::uint16_t(m_app.GetNotifyPort())))
        return;
    // Start-up holds the calendar list lock now, and a message box's loop paints the view, which
    // takes the event lock that comes first: the box waits for the program's message loop.
    desktop()->postTask([] { ui::messageBox(nullptr, SocketFailed, Title, ui::MB_OK | ui::MB_ICONWARNING); });
}

void CMainFrame::onDestroy()
{
    // No reader call on the view may run once the windows go, and no datagram may arrive for them
    // (the control socket's receive thread is waited for up to 2 s).
    m_app.SetMainWindow(nullptr);
    if (m_control)
        m_control->Close();
    ui::FrameWindow::onDestroy();
}

// --- Command bar and calendar menu ----------------------------------------------------------------

void CMainFrame::BuildCommandBar()
{
    ui::CommandBar& bar = commandBar();
    bar.removeMenu();
    bar.clearButtons();
    std::vector<device::WideString> tips;
    for (std::uint32_t id : {IDS_CALENDAR, IDS_PREVIOUS, IDS_NEXT, IDS_GO_TO_TODAY, IDS_ATTACHED, IDS_ABOUT, IDS_SWITCH_BACK})
        tips.emplace_back(CTavrelStrings::Load(id).View());

    bar.setMenu(CTavrelMainMenu::Title, CTavrelMainMenu::Build());
    const std::size_t buttons = m_app.IsControlMode() ? std::size(toolButtons) : normalButtonCount;
    for (std::size_t i = 0; i < buttons; ++i)
        bar.addButton(toolButtons[i].command, gfx::loadImageResource(toolButtons[i].picture).value_or(gfx::Surface()));

    {
        std::lock_guard calendars(m_app.GetCalendarListLock());
        ui::Menu& menu = bar.menu();
        const CQoString current = m_app.GetCurrentCalendarName();
        menu.insert(unsigned(ID_CALENDAR_COMBINED), ui::MF_BYCOMMAND | ui::MF_STRING, ID_CALENDAR_PERSONAL, u"Personal");
        menu.checkCommand(ID_CALENDAR_PERSONAL, CTavrelCalendarData::IsPersonal(current));
        menu.checkCommand(ID_CALENDAR_COMBINED, CTavrelCalendarData::IsCombined(current));
        ForEachCalendarItem(m_app.GetCalendarData(), [&](int index, const CTavrelCalendar& calendar) {
            const int id = ID_CALENDAR_FIRST + index;
            menu.insert(unsigned(ID_CALENDAR_COMBINED), ui::MF_BYCOMMAND | ui::MF_STRING, id, MenuText(calendar.GetName()));
            menu.checkCommand(id, calendar.GetName().CompareNoCase(current) == 0);
        });
    }
    bar.setToolTips(tips);
}

void CMainFrame::RefreshCalendarChecks()
{
    CQoString current;
    {
        std::lock_guard calendars(m_app.GetCalendarListLock());
        current = m_app.GetCurrentCalendarName();
        ui::Menu& menu = commandBar().menu();
        menu.checkCommand(ID_CALENDAR_PERSONAL, CTavrelCalendarData::IsPersonal(current));
        menu.checkCommand(ID_CALENDAR_COMBINED, CTavrelCalendarData::IsCombined(current));
        ForEachCalendarItem(m_app.GetCalendarData(), [&](int index, const CTavrelCalendar& calendar) {
            menu.checkCommand(ID_CALENDAR_FIRST + index, calendar.GetName().CompareNoCase(current) == 0);
        });
    }
    SendNotification(CTavrelNotifications::CalendarChanged(current));
}

void CMainFrame::SelectCalendarItem(int n)
{
    CQoString name;
    {
        std::lock_guard calendars(m_app.GetCalendarListLock());
        ui::Menu& menu = commandBar().menu();
        menu.checkCommand(ID_CALENDAR_PERSONAL, false);
        menu.checkCommand(ID_CALENDAR_COMBINED, false);
        ForEachCalendarItem(m_app.GetCalendarData(), [&](int index, const CTavrelCalendar& calendar) {
            menu.checkCommand(ID_CALENDAR_FIRST + index, index == n);
            if (index == n)
                name = calendar.GetName();
        });
    }
    // Outside the lock: the change reloads the view, which takes the event lock. The check marks
    // and "OnCalendarChanged:" follow from RefreshCalendarChecks.
    if (!name.IsEmpty())
        m_app.SetCurrentCalendar(name);
}

void CMainFrame::OnCalendarPersonal() { m_app.SetCurrentCalendar(CTavrelSettings::PersonalCalendar); }

void CMainFrame::OnCalendarCombined() { m_app.SetCurrentCalendar(CTavrelSettings::CombinedCalendar); }

// --- The application's and the reader's view of the frame ------------------------------------------

CTavrelReaderView* CMainFrame::GetReaderView() { return m_readerView.get(); }

void CMainFrame::ReloadViewEvents()
{
    if (m_view && m_view->exists())
        m_view->ReloadAppearance(true);
}

bool CMainFrame::IsReaderPassDrawn() const { return m_readerView && m_readerView->IsCurrentPassDrawn(); }

unsigned CMainFrame::GetReaderPassCount() const { return m_readerView ? m_readerView->GetPassCount() : 0; }

// --- The view's host -------------------------------------------------------------------------------

void CMainFrame::SendNotification(const CQoString& text) { Send(text); }

bool CMainFrame::Send(const CQoString& text)
{
    CQoLog::Log(u"CMainFrame: notification %s\n", text.GetString());
    if (m_notify) {
        m_notify(text);
        return true;
    }
    return m_control && m_control->Notify(text);
}

bool CMainFrame::OpenNonStoreEvent(const CTavrelEvent& event)
{
    // An activity asks its control application to change it; a "<Combined>" event shown as
    // "Name (Calendar)" switches to its calendar (CTavrelEventOpener).
    return m_control ? m_control->OpenEvent(event) : true;
}

bool CMainFrame::LoadSkin(const CQoString& file) { return CTavrelSkinLoader::LoadSkin(m_app, file.GetString()); }

// --- Commands --------------------------------------------------------------------------------------

ui::LResult CMainFrame::handleMessage(std::uint32_t message, ui::WParam wParam, ui::LParam lParam)
{
    switch (message) {
    case ui::WM_COMMAND: {
        // A disabled command is not carried out, wherever it came from.
        const ui::CommandUpdate state = queryCommand(ui::LOWORD(wParam));
        if (state.handled && !state.enabled)
            return 0;
        break;
    }
    case CTavrelControlSocket::WM_CONTROL_DATAGRAM:
        if (m_control)
            m_control->OnControlDatagram(wParam, lParam);
        return 0;
    default:
        break;
    }
    return ui::FrameWindow::handleMessage(message, wParam, lParam);
}

void CMainFrame::DefineCommands()
{
    using ui::CommandTable;
    CommandTable& table = commands();
    table.add(ID_CALENDAR_PERSONAL, [this] { OnCalendarPersonal(); });
    table.add(ID_CALENDAR_COMBINED, [this] { OnCalendarCombined(); });
    table.add(ID_CHOOSE_SKIN, [this] { OnChooseSkin(); });
    table.add(ID_HELP_ONLINE, [this] { OnOnlineHelp(); });
    table.add(ID_APP_ABOUT, [this] { OnAbout(); });
    table.add(ID_APP_EXIT, [this] { desktop()->quit(0); });
    table.add(ID_SWITCH_TO_CLIENT, [this] { SendNotification(CTavrelNotifications::ShowClient()); },
              CommandTable::enabledWhen([this] { return m_app.IsControlMode(); }));
    // "&Rules..." of the menu and "Set Icon Rules..." of the day menu.
    table.add(ID_VIEW_RULES, [this] { OnRules(); });
    table.add(ID_BACKGROUND_CHOOSE, [this] { OnChooseBackground(); });
    table.add(ID_CALENDAR_ATTACHED, [this] { OnCalendarAttached(); });
}

bool CMainFrame::onHelp()
{
    OnOnlineHelp();
    return false; // and the default handling
}

void CMainFrame::OnOnlineHelp()
{
    std::string error;
    if (device::ShellExecute::open(HelpProgram, HelpPage, &error))
        return;
    CQoLog::Log(u"CMainFrame: Online Help: %s\n", device::fromUtf8(error).c_str());
    device::WideString text = u"Online Help cannot be shown.";
    if (!error.empty()) {
        text += u'\n';
        text += device::fromUtf8(error);
    }
    ui::messageBox(this, text, Title, ui::MB_OK | ui::MB_ICONWARNING);
}

void CMainFrame::OnAbout()
{
    CAboutDlg about;
    about.RunModal();
}

void CMainFrame::OnRules()
{
    // The dialog edits a copy, taken under the rules lock, and saves it when the user confirms;
    // only a saved copy replaces the program's rules (under the lock again), and the reader's next
    // pass, asked for now, draws the icons they choose.
    CTavrelRules rules = m_app.GetRulesCopy();
    CTavrelIconPathSettings iconSettings(m_app.GetSettings());
    CTavrelRulesDlg dialog(rules, iconSettings);
    if (dialog.RunModal() != ui::IDOK)
        return;
    m_app.ReplaceRules(rules);
    m_app.RequestRefresh();
}

void CMainFrame::OnChooseBackground()
{
    ui::FileOpenDialog dialog(PictureFilter);
    dialog.setPathMustExist(true);
    if (dialog.RunModal() != ui::IDOK)
        return;
    switch (m_view->SetBackgroundPicture(dialog.path().c_str())) {
    case CTavrelView::BackgroundChoice::Set:
        break;
    case CTavrelView::BackgroundChoice::Unreadable:
        // The user picked this file; nothing changing without a word would look like a fault.
        ui::messageBox(this, device::WideString(PictureUnreadable) + u"\n" + dialog.path(), Title,
                       ui::MB_OK | ui::MB_ICONWARNING);
        break;
    case CTavrelView::BackgroundChoice::NotChangeable:
        ui::messageBox(this, BackgroundNotChangeable, Title, ui::MB_OK | ui::MB_ICONWARNING);
        break;
    }
}

void CMainFrame::OnCalendarAttached()
{
    CTavrelAttachedCalendarsCommand command(m_app);
    const CTavrelAttachedCalendarsCommand::Outcome outcome = command.Run();
    for (const CQoString& message : outcome.messages)
        ui::messageBox(this, message.View(), Title, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    if (!outcome.applied)
        return;
    BuildCommandBar();
    if (!outcome.firstAttached.IsEmpty()) {
        int item = -1;
        {
            std::lock_guard calendars(m_app.GetCalendarListLock());
            ForEachCalendarItem(m_app.GetCalendarData(), [&](int index, const CTavrelCalendar& calendar) {
                if (item < 0 && calendar.GetName().CompareNoCase(outcome.firstAttached) == 0)
                    item = index;
            });
        }
        if (item >= 0) {
            SelectCalendarItem(item);
            return;
        }
    }
    if (outcome.currentRemoved)
        m_app.SetCurrentCalendar(CTavrelSettings::PersonalCalendar);
    else
        ReloadViewEvents();
}

void CMainFrame::OnChooseSkin()
{
    ui::FileOpenDialog dialog(SkinFilter);
    dialog.setPathMustExist(true);
    if (dialog.RunModal() != ui::IDOK)
        return;
    ui::WaitCursor wait;
    if (LoadSkin(dialog.path().c_str()))
        m_view->ReloadAppearance(true);
}
