#include "templates/TavrelAppointmentTemplate.h"

#include "data/TavrelFreeHour.h"

namespace {

struct DurationStep {
    const char16_t* text;
    int days;
    int hours;
    int minutes;
};

constexpr DurationStep durationSteps[] = {
    {u"15 min", 0, 0, 15}, {u"30 min", 0, 0, 30}, {u"45 min", 0, 0, 45}, {u"1 hr", 0, 1, 0},   {u"2 hrs", 0, 2, 0},
    {u"4 hrs", 0, 4, 0},   {u"8 hrs", 0, 8, 0},   {u"2 days", 2, 0, 0},  {u"3 days", 3, 0, 0}, {u"1 week", 7, 0, 0},
};

} // namespace

CQoString CTavrelAppointmentTemplate::StartTimeText(int hour)
{
    const int dial = hour % 12 == 0 ? 12 : hour % 12;
    CQoString text;
    text.Format(u"%d%cm", dial, hour < 12 ? u'a' : u'p');
    return text;
}

std::optional<int> CTavrelAppointmentTemplate::StartHour(const CQoString& text)
{
    const device::WideView view = text.View();
    std::size_t position = 0;
    while (position < view.size() && view[position] == u' ')
        ++position;
    int hour = 0;
    std::size_t digits = 0;
    for (; position < view.size() && view[position] >= u'0' && view[position] <= u'9' && digits < 3;
         ++position, ++digits)
        hour = hour * 10 + (view[position] - u'0');
    if (digits == 0)
        return std::nullopt;
    if (hour == 12)
        hour = 0;
    if (view.find(u'p') != device::WideView::npos || view.find(u'P') != device::WideView::npos)
        hour += 12;
    if (hour > 23)
        return std::nullopt;
    return hour;
}

device::OleDateTime CTavrelAppointmentTemplate::EndFor(const device::OleDateTime& start) const
{
    for (const DurationStep& step : durationSteps)
        if (duration.CompareNoCase(step.text) == 0)
            return start + device::OleDateTimeSpan(step.days, step.hours, step.minutes, 0);
    return start + device::OleDateTimeSpan(0, 1, 0, 0); // UnknownDurationMeans
}

CTavrelNewAppointment::Recurrence CTavrelAppointmentTemplate::GetRecurrence() const
{
    using Recurrence = CTavrelNewAppointment::Recurrence;
    if (frequency.CompareNoCase(u"Weekly") == 0)
        return Recurrence::Weekly;
    if (frequency.CompareNoCase(u"Monthly") == 0)
        return Recurrence::Monthly;
    if (frequency.CompareNoCase(u"Yearly") == 0)
        return Recurrence::Yearly;
    return Recurrence::None;
}

std::optional<CTavrelNewAppointment> CTavrelAppointmentTemplate::ToNewAppointment(const device::OleDateTime& held,
                                                                                  CTavrelFreeHour& freeHours) const
{
    if (held.GetStatus() != device::DateTimeStatus::Valid || subject.IsEmpty())
        return std::nullopt;
    CTavrelNewAppointment appointment;
    appointment.subject = subject;
    appointment.fromTemplate = true;
    appointment.recurrence = GetRecurrence();
    if (IsAllDay()) {
        appointment.start = CTavrelNewAppointment::Midnight(held);
        appointment.end = appointment.start;
    } else {
        const std::optional<int> hour = StartHour(startTime);
        if (CTavrelNewAppointment::HasTime(held))
            appointment.start = held;
        else if (!autoResolve)
            appointment.start = CTavrelNewAppointment::AtHour(held, hour.value_or(freeHours.GetWorkdayStart()));
        else
            appointment.start
                = CTavrelNewAppointment::AtHour(held, hour ? freeHours.Find(held, *hour) : freeHours.Find(held));
        appointment.end = EndFor(appointment.start);
    }
    if (appointment.start.GetStatus() != device::DateTimeStatus::Valid
        || appointment.end.GetStatus() != device::DateTimeStatus::Valid)
        return std::nullopt;
    return appointment;
}
