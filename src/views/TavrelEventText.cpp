#include "views/TavrelEventText.h"

CQoString CTavrelEventText::Time(const device::OleDateTime& time)
{
    const int hour = time.GetHour();
    CQoString text;
    text.Format(u"%d:%02d%c", TwelveHour(hour), time.GetMinute(), Meridiem(hour));
    return text;
}

CQoString CTavrelEventText::MenuLine(const CTavrelEvent& event)
{
    if (event.IsAllDay())
        return event.GetName();
    CQoString text;
    text.Format(u"%s %s", Time(event.GetStart()).GetString(), event.GetName().GetString());
    return text;
}

CQoString CTavrelEventText::DayLine(const CTavrelEvent& event, const device::OleDateTime& dayStart,
                                    const device::OleDateTime& dayEnd)
{
    // An all-day event reads the same on each of its days: midnight says nothing.
    if (event.IsAllDay())
        return event.GetName();
    const device::OleDateTime& start = event.GetStart();
    const device::OleDateTime& end = event.GetEnd();
    const bool startsBefore = start < dayStart;
    const bool endsAfter = end > dayEnd;
    const CQoString name = event.GetName();
    CQoString text;
    if (startsBefore && endsAfter)
        text.Format(u"%d/%02d %s-%d/%02d %s %s", start.GetMonth(), start.GetDay(), Time(start).GetString(),
                    end.GetMonth(), end.GetDay(), Time(end).GetString(), name.GetString());
    else if (startsBefore)
        text.Format(u"%d/%02d %s-%s %s", start.GetMonth(), start.GetDay(), Time(start).GetString(),
                    Time(end).GetString(), name.GetString());
    else if (endsAfter)
        text.Format(u"%s-%d/%02d %s %s", Time(start).GetString(), end.GetMonth(), end.GetDay(), Time(end).GetString(),
                    name.GetString());
    else
        text.Format(u"%s-%s %s", Time(start).GetString(), Time(end).GetString(), name.GetString());
    return text;
}

CQoString CTavrelEventText::AgendaLine(const CTavrelEvent& event, const device::OleDateTime& dayStart,
                                       const device::OleDateTime& dayEnd)
{
    if (event.IsAllDay())
        return event.GetName();
    const device::OleDateTime& start = event.GetStart();
    const device::OleDateTime& end = event.GetEnd();
    CQoString startPart;
    if (start < dayStart)
        startPart.Format(u"%d/%d", start.GetMonth(), start.GetDay());
    else
        startPart = Time(start);
    CQoString endPart;
    if (end > dayEnd)
        endPart.Format(u"%d/%d", end.GetMonth(), end.GetDay());
    else
        endPart = Time(end);
    CQoString text;
    if (start == end)
        text.Format(u"%s %s", startPart.GetString(), event.GetName().GetString());
    else
        text.Format(u"%s-%s %s", startPart.GetString(), endPart.GetString(), event.GetName().GetString());
    return text;
}

CQoString CTavrelEventText::Ordinal(int day)
{
    const char16_t* suffix = u"th";
    if (day % 100 < 11 || day % 100 > 13) {
        switch (day % 10) {
        case 1:
            suffix = u"st";
            break;
        case 2:
            suffix = u"nd";
            break;
        case 3:
            suffix = u"rd";
            break;
        default:
            break;
        }
    }
    CQoString text;
    text.Format(u"%d%s", day, suffix);
    return text;
}

CQoString CTavrelEventText::HourLabel(int hour)
{
    CQoString text;
    text.Format(u"%d%c", TwelveHour(hour), Meridiem(hour));
    return text;
}
