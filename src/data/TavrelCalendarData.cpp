#include "data/TavrelCalendarData.h"

#include "data/TavrelRegisteredCalendar.h"

#include <mutex>

CTavrelCalendarData::CTavrelCalendarData() : m_currentCalendar(u"<Personal>") {}

CTavrelCalendarData::~CTavrelCalendarData() = default;

CTavrelCalendar& CTavrelCalendarData::AddRemoteCalendar(const CTavrelCalendar& calendar)
{
    std::lock_guard guard(m_calendarListLock);
    return *m_remoteCalendars.emplace_back(calendar.Clone());
}

CTavrelCalendar& CTavrelCalendarData::AddRemoteCalendar(std::unique_ptr<CTavrelCalendar> calendar)
{
    std::lock_guard guard(m_calendarListLock);
    return *m_remoteCalendars.emplace_back(std::move(calendar));
}

CTavrelCalendar& CTavrelCalendarData::AddRegisteredCalendar(const CTavrelCalendar& calendar)
{
    std::lock_guard guard(m_calendarListLock);
    return *m_registeredCalendars.emplace_back(calendar.Clone());
}

CTavrelCalendar* CTavrelCalendarData::FindCalendar(const CQoString& name)
{
    std::lock_guard guard(m_calendarListLock);
    for (CalendarList* list : {&m_remoteCalendars, &m_registeredCalendars}) {
        for (const auto& calendar : *list) {
            if (calendar->GetName().CompareNoCase(name) == 0)
                return calendar.get();
        }
    }
    return nullptr;
}

CQoString CTavrelCalendarData::GetCurrentCalendarName()
{
    std::lock_guard guard(m_calendarListLock);
    return m_currentCalendar;
}

void CTavrelCalendarData::SetCurrentCalendarName(const CQoString& name)
{
    std::lock_guard guard(m_calendarListLock);
    m_currentCalendar = name;
}

std::vector<CQoString> CTavrelCalendarData::GetCurrentActivityKinds()
{
    std::lock_guard guard(m_calendarListLock);
    for (const auto& calendar : m_registeredCalendars) {
        if (calendar->GetName().CompareNoCase(m_currentCalendar) != 0)
            continue;
        if (auto* registered = dynamic_cast<const CTavrelRegisteredCalendar*>(calendar.get()))
            return registered->GetFactoryList();
        break;
    }
    return {};
}

CTavrelEvents CTavrelCalendarData::GetWindowEventsSnapshot()
{
    std::lock_guard guard(m_eventLock);
    return CTavrelEvents(m_windowEvents);
}
