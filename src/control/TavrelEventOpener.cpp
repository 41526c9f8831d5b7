#include "control/TavrelEventOpener.h"

#include "common/QoLog.h"
#include "control/TavrelControlTarget.h"
#include "control/TavrelNotifications.h"
#include "control/TavrelNotifier.h"
#include "data/TavrelCalendarData.h"
#include "data/TavrelEvent.h"
#include "platform/pim/Application.h"

#include <mutex>

CTavrelEventOpener::CTavrelEventOpener(CTavrelControlTarget& target, CTavrelNotifier& notifier)
    : m_target(target), m_notifier(notifier)
{
}

bool CTavrelEventOpener::OpenEvent(const CTavrelEvent& event)
{
    if (event.GetOID() != 0)
        return OpenAppointment(event);
    if (!event.GetID().IsEmpty() && event.IsChangeable()) {
        m_notifier.Send(CTavrelNotifications::RequestChangeActivity(event.GetID(), event.GetStart(), event.GetEnd()));
        return true;
    }
    if (CTavrelCalendarData::IsCombined(m_target.GetCalendarData().GetCurrentCalendarName())
        && event.GetName().Find(u'(') >= 0)
        return m_target.SetCurrentCalendar(CombinedSourceName(event.GetName()));
    return true;
}

bool CTavrelEventOpener::OpenAppointment(const CTavrelEvent& event)
{
    pim::Application* outlook = m_target.GetOutlook();
    if (!outlook)
        return false;
    pim::Error error = pim::Error::None;
    std::unique_ptr<pim::Appointment> appointment = outlook->getItemFromOid(std::uint32_t(event.GetOID()), &error);
    if (!appointment) {
        CQoString line;
        line.Format(u"OpenEvent: appointment %u not found\n", unsigned(event.GetOID()));
        CQoLog::LogWithDebugOutput(line.GetString());
        return false;
    }
    if (!appointment->display(&error))
        return false;
    // The editor may have changed or deleted it: read the store again without waiting.
    m_target.RequestRefresh();
    return true;
}

CQoString CTavrelEventOpener::CombinedSourceName(const CQoString& name)
{
    CQoString best;
    {
        CTavrelCalendarData& data = m_target.GetCalendarData();
        std::lock_guard calendars(data.GetCalendarListLock());
        for (auto* list : {&data.GetRegisteredCalendars(), &data.GetRemoteCalendars()}) {
            for (const auto& calendar : *list) {
                CQoString suffix(u" (");
                suffix += calendar->GetName().GetString();
                suffix += u")";
                if (name.GetLength() > suffix.GetLength() && name.EndsWith(suffix)
                    && calendar->GetName().GetLength() > best.GetLength())
                    best = calendar->GetName();
            }
        }
    }
    if (!best.IsEmpty())
        return best;
    CQoString source = name.Mid(name.Find(u'(') + 1);
    while (!source.IsEmpty() && source.GetAt(int(source.GetLength()) - 1) == u')')
        source = source.Left(int(source.GetLength()) - 1);
    return source;
}
