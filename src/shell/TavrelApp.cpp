#include "shell/TavrelApp.h"

#include "common/QoLog.h"
#include "control/TavrelNotifications.h"
#include "data/TavrelMainWindow.h"
#include "data/TavrelRegisteredCalendar.h"
#include "data/TavrelSettings.h"
#include "platform/device/NamedMutex.h"
#include "platform/net/SocketLayer.h"
#include "platform/pim/Application.h"
#include "platform/ui/MessageBox.h"
#include "remote/TavrelAttachedCalendarStore.h"
#include "remote/TavrelRemoteCalendar.h"
#include "rules/TavrelRules.h"
#include "shell/MainFrame.h"
#include "shell/TavrelStrings.h"
#include "shell/TavrelWakeableSleeper.h"
#include "templates/TavrelTemplateStore.h"

#include <mutex>

CTavrelApp::CTavrelApp()
    : m_settings(std::make_shared<CTavrelSettings>()),
      m_attachedStore(std::make_unique<CTavrelAttachedCalendarStore>(*m_settings)),
      m_rules(std::make_shared<CTavrelRules>()), m_data(std::make_shared<CTavrelCalendarData>()),
      m_sleeper(std::make_shared<CTavrelWakeableSleeper>())
{
    CQoLog::Log(u"CTavrelApp() Constructor\n");
    m_mutex = std::make_unique<device::NamedMutex>(MutexName, true);
    m_data->ClearReaderStop();
}

CTavrelApp::~CTavrelApp()
{
    // A frame left from a start-up that failed half-way goes first: nothing may reach it any more.
    m_mainFrame.reset();
    CQoLog::Log(u"CTavrelApp() Destructor\n");
    m_mutex.reset();
    if (StopReader()) {
        m_settings->SetCurrentCalendar(m_data->GetCurrentCalendarName());
    } else {
        // The reader did not end in time and may be holding the calendar list lock for a long
        // while; every change of calendar has stored its name already, so nothing is lost by not
        // waiting for the lock here.
    }
    if (m_socketsStarted)
        net::cleanupSocketLayer();
}

void CTavrelApp::ShowMessage(const char16_t* text) { ui::messageBox(nullptr, text, MessageCaption, ui::MB_OK | ui::MB_ICONERROR); }

bool CTavrelApp::OwnsMutex() const { return m_mutex && m_mutex->isOwned(); }

void CTavrelApp::SetControlPorts(int controlPort, int notifyPort)
{
    m_controlPort = controlPort;
    m_notifyPort = notifyPort;
}

// --- Start-up and shut-down of the program ----------------------------------------------------------

bool CTavrelApp::InitInstance(const std::vector<CQoString>& parameters)
{
    CTavrelStrings::Register();
    if (!InitializeSockets()) {
        ShowMessage(CTavrelStrings::Load(IDS_SOCKETS_INIT_FAILED));
        return false;
    }
    ParseCommandLine(parameters);
    if (!CreateOutlook()) {
        ShowMessage(AttachFailed);
        return false;
    }
    LoadRules();
    // Shown with no lock held: a message box runs a loop.
    for (const CQoString& message : LoadRemoteCalendars())
        ShowMessage(message);

    {
        std::lock_guard calendars(m_data->GetCalendarListLock());
        RestoreCurrentCalendar();
    }
    // The frame is made without the calendar list lock held. The view takes its date lock first
    // and the calendar list lock under it (a new date loads the current calendar's pictures), so
    // holding the list lock here would take the two the other way round. Nothing else reads or
    // changes the calendars until the reader starts: control datagrams wait in this thread's queue,
    // and whatever reads the lists during the frame's creation takes the lock itself.
    m_mainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_mainFrame->Create()) {
        m_mainFrame.reset();
        return false;
    }
    if (!LogonOutlook()) {
        ShowMessage(LogonFailed);
        return false;
    }
    if (!StartReader())
        ShowMessage(ReaderFailed);
    return true;
}

void CTavrelApp::ExitInstance()
{
    if (GetMainWindow() && m_mainFrame)
        m_mainFrame->SendNotification(CTavrelNotifications::CalendarClose());
    m_mainFrame.reset();
}

bool CTavrelApp::InitializeSockets()
{
    if (!m_socketsStarted)
        m_socketsStarted = net::startupSocketLayer();
    return m_socketsStarted;
}

// --- Start-up steps ------------------------------------------------------------------------------

void CTavrelApp::ParseCommandLine(const std::vector<CQoString>& parameters)
{
    for (const CQoString& parameter : parameters) {
        if (parameter.CompareNoCase(ControlModeParameter) == 0)
            m_controlMode = true;
    }
}

bool CTavrelApp::CreateOutlook(pim::Error* error)
{
    std::unique_ptr<pim::Application> outlook = pim::Application::create(error);
    if (!outlook)
        return false;
    m_outlook = std::move(outlook);
    return true;
}

bool CTavrelApp::LogonOutlook(pim::Error* error)
{
    if (!m_outlook)
        return pim::fail(error, pim::Error::NotLoggedOn);
    return m_outlook->logon(error);
}

bool CTavrelApp::LoadRules(const char16_t* path)
{
    std::lock_guard rules(m_data->GetRulesLock());
    return m_rules->Load(path ? path : CTavrelRules::DefaultPath);
}

std::vector<CQoString> CTavrelApp::LoadRemoteCalendars()
{
    CTavrelAttachedCalendarStore::Loaded loaded = m_attachedStore->LoadAll();
    for (auto& calendar : loaded.calendars)
        m_data->AddRemoteCalendar(std::move(calendar));
    return std::move(loaded.messages);
}

void CTavrelApp::RestoreCurrentCalendar()
{
    std::lock_guard calendars(m_data->GetCalendarListLock());
    m_data->SetCurrentCalendarName(m_settings->GetCurrentCalendar());
    if (!m_data->FindCalendar(m_data->GetCurrentCalendarName()))
        SetCurrentCalendar(CTavrelSettings::PersonalCalendar);
}

bool CTavrelApp::StartReader(std::shared_ptr<CTavrelSleeper> sleeper)
{
    m_data->ClearReaderStop();
    CTavrelReader::Sources sources{m_data, m_settings, m_rules, m_outlook};
    auto reader = std::make_shared<CTavrelReader>(std::move(sources), sleeper ? std::move(sleeper) : m_sleeper);
    return m_reader.Start(std::move(reader), m_data);
}

bool CTavrelApp::StopReader()
{
    m_data->RequestReaderStop();
    m_sleeper->Wake();
    return m_reader.Stop();
}

void CTavrelApp::RequestRefresh()
{
    m_data->RequestRefresh();
    m_sleeper->Wake();
}

void CTavrelApp::SetMainWindow(CTavrelMainWindow* window)
{
    m_data->GetMainWindowLink().Set(window);
}

CTavrelMainWindow* CTavrelApp::GetMainWindow() const
{
    return m_data->GetMainWindowLink().Get();
}

// --- Calendars -----------------------------------------------------------------------------------

CTavrelCalendar* CTavrelApp::FindCalendar(const CQoString& name)
{
    return m_data->FindCalendar(name);
}

bool CTavrelApp::SetCurrentCalendar(const CQoString& name)
{
    CQoString current;
    {
        std::lock_guard calendars(m_data->GetCalendarListLock());
        if (CTavrelCalendarData::IsPersonal(name)) {
            current = CTavrelSettings::PersonalCalendar;
        } else if (CTavrelCalendarData::IsCombined(name)) {
            current = CTavrelSettings::CombinedCalendar;
        } else if (CTavrelCalendar* calendar = m_data->FindCalendar(name)) {
            current = calendar->GetName();
        } else {
            return false;
        }
        m_data->SetCurrentCalendarName(current);
    }
    m_settings->SetCurrentCalendar(current);
    // The events on show belong to the old calendar; the reader should not wait out its pause.
    RequestRefresh();
    if (CTavrelMainWindow* window = GetMainWindow()) {
        window->RefreshCalendarChecks();
        window->ReloadViewEvents();
    }
    return true;
}

CQoString CTavrelApp::GetCurrentCalendarName()
{
    return m_data->GetCurrentCalendarName();
}

CTavrelRegisteredCalendar& CTavrelApp::AddRegisteredCalendar(const CQoString& name)
{
    const CTavrelRegisteredCalendar calendar(name, m_settings.get());
    return static_cast<CTavrelRegisteredCalendar&>(m_data->AddRegisteredCalendar(calendar));
}

std::vector<CQoString> CTavrelApp::GetAppointmentTemplateNames() { return CTavrelTemplateStore().GetNames(); }

CTavrelEvents CTavrelApp::GetWindowEventsSnapshot()
{
    return m_data->GetWindowEventsSnapshot();
}

// --- Icon rules ----------------------------------------------------------------------------------

CTavrelRules CTavrelApp::GetRulesCopy()
{
    std::lock_guard rules(m_data->GetRulesLock());
    return CTavrelRules(*m_rules);
}

void CTavrelApp::ReplaceRules(const CTavrelRules& rules)
{
    std::lock_guard guard(m_data->GetRulesLock());
    *m_rules = rules;
}

// --- Appearance of the current calendar ----------------------------------------------------------

CTavrelApp::AppearanceSource CTavrelApp::CurrentAppearance(CTavrelCalendar*& own)
{
    own = nullptr;
    const CQoString current = m_data->GetCurrentCalendarName();
    if (CTavrelCalendarData::IsPersonal(current) || CTavrelCalendarData::IsCombined(current))
        return AppearanceSource::Global;
    CTavrelCalendar* calendar = m_data->FindCalendar(current);
    if (!calendar)
        return AppearanceSource::Missing;
    if (!calendar->HasOwnAppearance())
        return AppearanceSource::Global;
    own = calendar;
    return AppearanceSource::Own;
}

int CTavrelApp::GetTransparency(int month)
{
    std::lock_guard calendars(m_data->GetCalendarListLock());
    CTavrelCalendar* own;
    switch (CurrentAppearance(own)) {
    case AppearanceSource::Global:
        return m_settings->GetTransparency(month);
    case AppearanceSource::Own:
        return own->GetTransparency(month);
    case AppearanceSource::Missing:
        break;
    }
    return CTavrelCalendar::DefaultTransparency;
}

CQoString CTavrelApp::Picture(int month, CQoString (CTavrelCalendar::*ownPicture)(int) const,
                              CQoString (CTavrelSettings::*global)(int) const, bool ownFallsBackToGlobal)
{
    std::lock_guard calendars(m_data->GetCalendarListLock());
    CTavrelCalendar* own;
    switch (CurrentAppearance(own)) {
    case AppearanceSource::Global:
        return ((*m_settings).*global)(month);
    case AppearanceSource::Own: {
        CQoString picture = (own->*ownPicture)(month);
        return picture.IsEmpty() && ownFallsBackToGlobal ? ((*m_settings).*global)(month) : picture;
    }
    case AppearanceSource::Missing:
        break;
    }
    return CQoString();
}

CQoString CTavrelApp::GetBackground(int month)
{
    return Picture(month, &CTavrelCalendar::GetBackground, &CTavrelSettings::GetBackground, true);
}

CQoString CTavrelApp::GetMonthTitle(int month)
{
    return Picture(month, &CTavrelCalendar::GetMonthTitle, &CTavrelSettings::GetMonthTitle, false);
}

CQoString CTavrelApp::GetDayBar(int month)
{
    return Picture(month, &CTavrelCalendar::GetDayBar, &CTavrelSettings::GetDayBar, false);
}

bool CTavrelApp::SetTransparency(int month, int level)
{
    std::lock_guard calendars(m_data->GetCalendarListLock());
    CTavrelCalendar* own;
    switch (CurrentAppearance(own)) {
    case AppearanceSource::Global:
        return m_settings->SetTransparency(month, level);
    case AppearanceSource::Own:
        return own->SetTransparency(month, level);
    case AppearanceSource::Missing:
        break;
    }
    return false;
}

bool CTavrelApp::SetPicture(int month, const CQoString& path, bool (CTavrelCalendar::*ownSetter)(int, const CQoString&),
                            bool (CTavrelSettings::*global)(int, const CQoString&))
{
    std::lock_guard calendars(m_data->GetCalendarListLock());
    CTavrelCalendar* own;
    switch (CurrentAppearance(own)) {
    case AppearanceSource::Global:
        return ((*m_settings).*global)(month, path);
    case AppearanceSource::Own:
        return (own->*ownSetter)(month, path);
    case AppearanceSource::Missing:
        break;
    }
    return false;
}

bool CTavrelApp::SetBackground(int month, const CQoString& path)
{
    return SetPicture(month, path, &CTavrelCalendar::SetBackground, &CTavrelSettings::SetBackground);
}

bool CTavrelApp::SetMonthTitle(int month, const CQoString& path)
{
    return SetPicture(month, path, &CTavrelCalendar::SetMonthTitle, &CTavrelSettings::SetMonthTitle);
}

bool CTavrelApp::SetDayBar(int month, const CQoString& path)
{
    return SetPicture(month, path, &CTavrelCalendar::SetDayBar, &CTavrelSettings::SetDayBar);
}
