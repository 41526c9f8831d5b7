#include "data/TavrelNewAppointment.h"

#include "data/TavrelFreeHour.h"
#include "data/TavrelNewCommands.h"

namespace {

const device::OleDateTimeSpan OneHour(0, 1, 0, 0);

bool IsMidnight(const device::OleDateTime& time)
{
    return time.GetHour() == 0 && time.GetMinute() == 0 && time.GetSecond() == 0;
}

} // namespace

bool CTavrelNewAppointment::HasTime(const device::OleDateTime& held)
{
    return held.GetHour() > 0 || held.GetMinute() > 0;
}

device::OleDateTime CTavrelNewAppointment::AtHour(const device::OleDateTime& held, int hour)
{
    return device::OleDateTime(held.GetYear(), held.GetMonth(), held.GetDay(), hour, 0, 0);
}

bool CTavrelNewAppointment::IsAllDay() const
{
    return start.GetStatus() == device::DateTimeStatus::Valid && end.GetStatus() == device::DateTimeStatus::Valid
        && IsMidnight(start) && IsMidnight(end);
}

std::optional<CTavrelNewAppointment> CTavrelNewAppointment::ForCommand(int id, const device::OleDateTime& held,
                                                                       CTavrelFreeHour& freeHours,
                                                                       const device::OleDateTime& now)
{
    if (held.GetStatus() != device::DateTimeStatus::Valid)
        return std::nullopt;
    CTavrelNewAppointment appointment;
    switch (id) {
    case ID_NEW_APPOINTMENT:
        appointment.start = HasTime(held) ? held : AtHour(held, freeHours.Find(held));
        appointment.end = appointment.start + OneHour;
        break;
    case ID_NEW_ALL_DAY_APPOINTMENT:
        appointment.start = Midnight(held);
        appointment.end = appointment.start;
        break;
    case ID_NEW_WEEKLY_APPOINTMENT:
    case ID_NEW_MONTHLY_APPOINTMENT:
    case ID_NEW_YEARLY_APPOINTMENT:
        appointment.start = HasTime(held) ? held : AtHour(held, now.GetHour());
        appointment.end = appointment.start + OneHour;
        appointment.recurrence = id == ID_NEW_WEEKLY_APPOINTMENT ? Recurrence::Weekly
            : id == ID_NEW_MONTHLY_APPOINTMENT                   ? Recurrence::Monthly
                                                                 : Recurrence::Yearly;
        break;
    default:
        return std::nullopt;
    }
    if (appointment.start.GetStatus() != device::DateTimeStatus::Valid
        || appointment.end.GetStatus() != device::DateTimeStatus::Valid)
        return std::nullopt;
    return appointment;
}
