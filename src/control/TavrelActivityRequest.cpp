#include "control/TavrelActivityRequest.h"

#include "control/TavrelControlTarget.h"
#include "control/TavrelNotifications.h"
#include "control/TavrelNotifier.h"
#include "data/TavrelCalendarData.h"

CTavrelActivityRequest::CTavrelActivityRequest(CTavrelControlTarget& target, CTavrelNotifier& notifier)
    : m_target(target), m_notifier(notifier)
{
}

void CTavrelActivityRequest::RequestTimes(const device::OleDateTime& heldDate, device::OleDateTime& start,
                                          device::OleDateTime& end)
{
    const int hour = heldDate.GetHour();
    if (hour <= 0) {
        start = device::OleDateTime(heldDate.GetYear(), heldDate.GetMonth(), heldDate.GetDay(), 0, 0, 0);
        end = start;
        return;
    }
    start = device::OleDateTime(heldDate.GetYear(), heldDate.GetMonth(), heldDate.GetDay(), hour, 0, 0);
    end = hour == 23 ? device::OleDateTime(heldDate.GetYear(), heldDate.GetMonth(), heldDate.GetDay(), 23, 30, 0)
                     : start + device::OleDateTimeSpan(0, 1, 0, 0);
}

bool CTavrelActivityRequest::RequestNew(const device::OleDateTime& heldDate, int commandId)
{
    const int index = commandId - FirstCommand;
    if (index < 0)
        return false;
    const std::vector<CQoString> kinds = m_target.GetCalendarData().GetCurrentActivityKinds();
    if (std::size_t(index) >= kinds.size())
        return false;
    const CQoString& kind = kinds[std::size_t(index)];
    if (kind.IsEmpty())
        return false;
    device::OleDateTime start, end;
    RequestTimes(heldDate, start, end);
    return m_notifier.Send(CTavrelNotifications::RequestAddActivity(start, end, kind));
}
