#include "control/TavrelControlDispatcher.h"

#include "common/QoLog.h"
#include "control/TavrelControlHost.h"
#include "control/TavrelControlTarget.h"
#include "control/TavrelNotifications.h"
#include "control/TavrelNotifier.h"
#include "data/TavrelCalendarData.h"
#include "data/TavrelRegisteredCalendar.h"

#include <mutex>

const CTavrelControlDispatcher::Command CTavrelControlDispatcher::Commands[] = {
    {u"SetCurrentCalendar", 1, &CTavrelControlDispatcher::SetCurrentCalendar},
    {u"SetCurrentDate", 1, &CTavrelControlDispatcher::SetCurrentDate},
    {u"SetCurrentView", 1, &CTavrelControlDispatcher::SetCurrentView},
    {u"ShowCalendar", 2, &CTavrelControlDispatcher::ShowCalendar},
    {u"Initialize", 0, &CTavrelControlDispatcher::Initialize},
    {u"RegisterCalendar", 1, &CTavrelControlDispatcher::RegisterCalendar},
    {u"RegisterFactory", 1, &CTavrelControlDispatcher::RegisterFactory},
    {u"AddActivity", 8, &CTavrelControlDispatcher::AddActivity},
    {u"UpdateActivity", 8, &CTavrelControlDispatcher::UpdateActivity},
    {u"DeleteActivity", 1, &CTavrelControlDispatcher::DeleteActivity},
    {u"DeleteAllActivities", 0, &CTavrelControlDispatcher::DeleteAllActivities},
    {u"CloseCalendar", 0, &CTavrelControlDispatcher::CloseCalendar},
    {u"Uninitialize", 0, &CTavrelControlDispatcher::Uninitialize},
};

CTavrelControlDispatcher::CTavrelControlDispatcher(CTavrelControlTarget& target, CTavrelControlHost& host,
                                                   CTavrelNotifier& notifier)
    : m_target(target), m_host(host), m_notifier(notifier), m_activities(target.GetCalendarData())
{
}

void CTavrelControlDispatcher::DispatchPayload(const CTavrelDatagram::Bytes& payload)
{
    if (payload.empty())
        return;
    Dispatch(CTavrelDatagram::PayloadText(payload));
}

void CTavrelControlDispatcher::Dispatch(const CQoString& text)
{
    if (text.IsEmpty())
        return;
    const CTavrelControlMessage message(text);
    for (const Command& command : Commands) {
        if (!message.HasName(command.name))
            continue;
        if (message.GetArgumentCount() < command.minimumArguments) {
            CQoString line;
            line.Format(u"Control message %s ignored: %d of %d arguments\n", command.name,
                        message.GetArgumentCount(), command.minimumArguments);
            CQoLog::LogWithDebugOutput(line.GetString());
            return;
        }
        (this->*command.run)(message);
        return;
    }
    m_host.ShowMessageBox(CQoString(u"Unknown Control Message: '") + text.GetString());
}

bool CTavrelControlDispatcher::SendInitialized()
{
    return m_notifier.Send(CTavrelNotifications::Initialized(m_target.GetCalendarData().GetCurrentCalendarName(),
                                                             m_host.GetViewMode(), m_host.GetViewDate()));
}

// --- View and calendar ---------------------------------------------------------------------------

void CTavrelControlDispatcher::SetCurrentCalendar(const CTavrelControlMessage& message)
{
    m_target.SetCurrentCalendar(message.GetArgument(0));
}

void CTavrelControlDispatcher::ApplyView(const CQoString& view)
{
    if (std::optional<int> mode = CTavrelNotifications::ParseViewMode(view))
        m_host.SetViewMode(*mode);
}

void CTavrelControlDispatcher::ApplyDate(const CQoString& text)
{
    device::OleDateTime date;
    if (!date.ParseDateTime(text.View())) {
        // The view keeps its date: a text that is no date must not leave it on none.
        CQoString line;
        line.Format(u"Control message date not understood: %s\n", text.GetString());
        CQoLog::LogWithDebugOutput(line.GetString());
        return;
    }
    m_host.SetViewDate(date.GetYear(), date.GetMonth(), date.GetDay());
}

void CTavrelControlDispatcher::SetCurrentDate(const CTavrelControlMessage& message)
{
    ApplyDate(message.GetArgument(0));
}

void CTavrelControlDispatcher::SetCurrentView(const CTavrelControlMessage& message)
{
    ApplyView(message.GetArgument(0));
}

void CTavrelControlDispatcher::ShowCalendar(const CTavrelControlMessage& message)
{
    const CQoString calendar = message.GetArgument(0);
    if (!calendar.IsEmpty())
        m_target.SetCurrentCalendar(calendar);
    ApplyView(message.GetArgument(1));
    if (message.GetArgumentCount() >= 3) {
        ApplyDate(message.GetArgument(2));
    } else {
        const device::OleDateTime date = m_host.GetViewDate();
        m_host.SetViewDate(date.GetYear(), date.GetMonth(), date.GetDay());
    }
    m_host.ShowCalendarWindow();
}

void CTavrelControlDispatcher::Initialize(const CTavrelControlMessage&)
{
    SendInitialized();
}

void CTavrelControlDispatcher::CloseCalendar(const CTavrelControlMessage&)
{
    m_host.PostQuit();
}

void CTavrelControlDispatcher::Uninitialize(const CTavrelControlMessage&) {}

// --- Registration --------------------------------------------------------------------------------

void CTavrelControlDispatcher::RegisterCalendar(const CTavrelControlMessage& message)
{
    const CQoString name = message.GetArgument(0);
    // A calendar without a name, or named like the two built-in views, could never be chosen.
    if (name.IsEmpty() || CTavrelCalendarData::IsPersonal(name) || CTavrelCalendarData::IsCombined(name)) {
        CQoString line;
        line.Format(u"RegisterCalendar refused for the name '%s'\n", name.GetString());
        CQoLog::LogWithDebugOutput(line.GetString());
        return;
    }
    if (m_target.GetCalendarData().FindCalendar(name))
        return;
    {
        std::lock_guard calendars(m_target.GetCalendarData().GetCalendarListLock());
        m_target.AddRegisteredCalendar(name);
    }
    // The menu and the view take the event lock; neither runs under the calendar list lock.
    m_host.RebuildCommandBar();
    m_target.SetCurrentCalendar(name);
    m_notifier.Send(CTavrelNotifications::CalendarRegistered(name));
}

void CTavrelControlDispatcher::RegisterFactory(const CTavrelControlMessage& message)
{
    const CQoString factories = message.GetArgument(0);
    bool registered = false;
    {
        CTavrelCalendarData& data = m_target.GetCalendarData();
        std::lock_guard calendars(data.GetCalendarListLock());
        CTavrelCalendarData::CalendarList& list = data.GetRegisteredCalendars();
        if (!list.empty()) {
            if (auto* calendar = dynamic_cast<CTavrelRegisteredCalendar*>(list.front().get())) {
                calendar->SetFactories(factories);
                registered = true;
            }
        }
    }
    if (!registered) {
        m_host.ShowMessageBox(CQoString(u"Control application must call RegisterCalendar() before RegisterFactory()"));
        return;
    }
    m_notifier.Send(CTavrelNotifications::FactoryRegistered(factories));
}

// --- Activities ----------------------------------------------------------------------------------

bool CTavrelControlDispatcher::ReadFlag(const CQoString& argument)
{
    return argument.CompareNoCase(u"1") == 0 || argument.CompareNoCase(u"TRUE") == 0;
}

CTavrelActivity CTavrelControlDispatcher::ReadActivity(const CTavrelControlMessage& message)
{
    CTavrelActivity activity;
    activity.id = message.GetArgument(0);
    activity.category = message.GetArgument(1);
    activity.name = message.GetArgument(2);
    activity.start.ParseDateTime(message.GetArgument(3).View());
    activity.end.ParseDateTime(message.GetArgument(4).View());
    // Argument 5, the icon, is not used: the icon rules choose the icon when the activity shows.
    activity.changeable = ReadFlag(message.GetArgument(6));
    activity.extraFlag = ReadFlag(message.GetArgument(7));
    return activity;
}

bool CTavrelControlDispatcher::RequireRegisteredCalendar(const char16_t* beforeWhat)
{
    if (m_activities.HasRegisteredCalendar())
        return false;
    CQoString text;
    text.Format(u"Control application must call RegisterCalendar() before %s()", beforeWhat);
    m_host.ShowMessageBox(text);
    return true;
}

void CTavrelControlDispatcher::ReplyToUpdate(CTavrelActivityCommands::Result result, const CQoString& id)
{
    if (result == CTavrelActivityCommands::Result::Updated) {
        m_notifier.Send(CTavrelNotifications::ActivityUpdated(id));
    } else if (result == CTavrelActivityCommands::Result::Refused) {
        CQoString line;
        line.Format(u"Activity '%s' not updated: its category holds the same activity\n", id.GetString());
        CQoLog::LogWithDebugOutput(line.GetString());
    }
}

void CTavrelControlDispatcher::AddActivity(const CTavrelControlMessage& message)
{
    if (RequireRegisteredCalendar(u"AddActivity"))
        return;
    const CTavrelActivity activity = ReadActivity(message);
    if (activity.start.GetStatus() != device::DateTimeStatus::Valid) {
        CQoString text;
        text.Format(u"Error adding external activity '%s' - Invalid Start Time: %s", activity.name.GetString(),
                    message.GetArgument(3).GetString());
        m_host.ShowMessageBox(text);
        return;
    }
    if (activity.end.GetStatus() != device::DateTimeStatus::Valid) {
        CQoString text;
        text.Format(u"Error adding external activity '%s' - Invalid End Time: %s", activity.name.GetString(),
                    message.GetArgument(4).GetString());
        m_host.ShowMessageBox(text);
        return;
    }
    const CTavrelActivityCommands::Result result = m_activities.AddActivity(activity);
    switch (result) {
    case CTavrelActivityCommands::Result::Added:
        m_notifier.Send(CTavrelNotifications::ActivityAdded(activity.id));
        break;
    case CTavrelActivityCommands::Result::Refused: {
        // The same activity is there under another ID: nothing was added, so nothing is confirmed.
        CQoString line;
        line.Format(u"Activity '%s' not added: its category holds the same activity\n", activity.id.GetString());
        CQoLog::LogWithDebugOutput(line.GetString());
        break;
    }
    default:
        ReplyToUpdate(result, activity.id);
        break;
    }
}

void CTavrelControlDispatcher::UpdateActivity(const CTavrelControlMessage& message)
{
    if (RequireRegisteredCalendar(u"AddActivity"))
        return;
    const CTavrelActivity activity = ReadActivity(message);
    if (activity.start.GetStatus() != device::DateTimeStatus::Valid
        || activity.end.GetStatus() != device::DateTimeStatus::Valid) {
        // Taking such times would lose the activity (refused in its new category) or keep it with
        // a time that is none; it stays as it was, and no reply confirms a change.
        CQoString line;
        line.Format(u"Activity '%s' not updated: invalid time '%s' or '%s'\n", activity.id.GetString(),
                    message.GetArgument(3).GetString(), message.GetArgument(4).GetString());
        CQoLog::LogWithDebugOutput(line.GetString());
        return;
    }
    ReplyToUpdate(m_activities.UpdateActivity(activity), activity.id);
}

void CTavrelControlDispatcher::DeleteActivity(const CTavrelControlMessage& message)
{
    if (RequireRegisteredCalendar(u"AddActivity"))
        return;
    const CQoString id = message.GetArgument(0);
    if (m_activities.DeleteActivity(id) == CTavrelActivityCommands::Result::Deleted)
        m_notifier.Send(CTavrelNotifications::ActivityDeleted(id));
}

void CTavrelControlDispatcher::DeleteAllActivities(const CTavrelControlMessage&)
{
    if (RequireRegisteredCalendar(u"AddActivity"))
        return;
    if (m_activities.DeleteAllActivities() == CTavrelActivityCommands::Result::Deleted)
        m_notifier.Send(CTavrelNotifications::AllActivitiesDeleted());
}
