#include "data/TavrelFreeHour.h"

#include <algorithm>

namespace {

// Settings come from the registry and may hold anything; an hour of the day is 0-23, and the
// workday's end may be 24 (midnight at its end).
int HourOfDay(int hour) { return std::clamp(hour, 0, 23); }

} // namespace

CTavrelFreeHour::CTavrelFreeHour(CTavrelEvents snapshot, int workdayStart, int workdayEnd)
    : m_snapshot(std::move(snapshot)), m_workdayStart(HourOfDay(workdayStart)),
      m_workdayEnd(std::clamp(workdayEnd, 0, 24))
{
}

bool CTavrelFreeHour::IsTaken(int year, int month, int day, int hour)
{
    const device::OleDateTime from(year, month, day, hour, 0, 1);
    const device::OleDateTime to(year, month, day, hour, 59, 59);
    return m_snapshot.FindFirst(from, to) != nullptr;
}

int CTavrelFreeHour::Find(const device::OleDateTime& day, int first)
{
    first = HourOfDay(first);
    if (day.GetStatus() != device::DateTimeStatus::Valid)
        return first;
    const int year = day.GetYear();
    const int month = day.GetMonth();
    const int dayOfMonth = day.GetDay();
    for (int hour = first; hour < m_workdayEnd; ++hour)
        if (!IsTaken(year, month, dayOfMonth, hour))
            return hour;
    return first;
}
