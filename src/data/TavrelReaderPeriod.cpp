#include "data/TavrelReaderPeriod.h"

#include "data/TavrelReaderView.h"
#include "platform/device/CivilDate.h"

namespace {

using device::OleDateTime;

OleDateTime startOfDay(int year, int month, int day)
{
    return OleDateTime(year, month, day, 0, 0, 0);
}

OleDateTime endOfDay(int year, int month, int day)
{
    return OleDateTime(year, month, day, 23, 59, 59);
}

OleDateTime endOfMonth(int year, int month)
{
    return endOfDay(year, month, device::CivilDate::daysInMonth(year, month));
}

} // namespace

CTavrelReaderPeriod CTavrelReaderPeriod::ForView(const OleDateTime& date, int mode)
{
    CTavrelReaderPeriod period;
    if (date.GetStatus() != device::DateTimeStatus::Valid)
        return period;
    const int year = date.GetYear();
    const int month = date.GetMonth();
    const int day = date.GetDay();
    switch (mode) {
    case CTavrelReaderView::Daily:
        period.m_from = startOfDay(year, month, day);
        period.m_to = endOfDay(year, month, day);
        break;
    case CTavrelReaderView::Weekly: {
        const OleDateTime midnight = startOfDay(year, month, day);
        period.m_from = midnight - device::OleDateTimeSpan(date.GetDayOfWeek() - 1, 0, 0, 0);
        period.m_to = period.m_from + device::OleDateTimeSpan(6, 23, 59, 59);
        break;
    }
    case CTavrelReaderView::Monthly:
        period.m_from = startOfDay(year, month, 1);
        period.m_to = endOfMonth(year, month);
        break;
    case CTavrelReaderView::Quarterly: {
        const int first = (month - 1) / 3 * 3 + 1;
        period.m_from = startOfDay(year, first, 1);
        period.m_to = endOfMonth(year, first + 2);
        break;
    }
    default:
        break;
    }
    return period;
}

CQoString CTavrelReaderPeriod::GetRestriction() const
{
    const device::WideString from = m_from.Format();
    const device::WideString to = m_to.Format();
    CQoString restriction;
    restriction.Format(u"[End] >= \"%s\" AND [Start] <= \"%s\"", from.c_str(), to.c_str());
    return restriction;
}

CQoString CTavrelReaderPeriod::KeyFor(const OleDateTime& date)
{
    CQoString key;
    key.Format(u"%04d%02d", date.GetYear(), date.GetMonth());
    return key;
}
