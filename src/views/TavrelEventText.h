#pragma once
// CTavrelEventText: the texts the views write about events and hours. Times are on a 12-hour dial
// (hours 0 and 12 read 12) with 'a' before noon and 'p' from noon; "month/day" is written
// "%d/%02d" in the day view and "%d/%d" in the agenda, as each has always written it.

#include "common/QoString.h"
#include "data/TavrelEvent.h"
#include "platform/device/OleDateTime.h"

class CTavrelEventText {
public:
    // The item text of an event menu: the Name of an all-day event, else "9:05a Name".
    static CQoString MenuLine(const CTavrelEvent& event);
    // The text of a box of the day view for the day from `dayStart` (00:00:00) to `dayEnd`
    // (23:59:59): times within the day, and month/day with the time where the event begins
    // before the day or ends after it; an all-day event shows its Name alone on each of its days.
    static CQoString DayLine(const CTavrelEvent& event, const device::OleDateTime& dayStart,
                             const device::OleDateTime& dayEnd);
    // A line of the agenda for the day from `dayStart` to `dayEnd`: "start-end Name", each end a
    // time within the day or the month/day beyond it; "start Name" for an event without length.
    static CQoString AgendaLine(const CTavrelEvent& event, const device::OleDateTime& dayStart,
                                const device::OleDateTime& dayEnd);

    // "9:05a" of a date-time's time of day.
    static CQoString Time(const device::OleDateTime& time);
    // "1st", "2nd", "3rd", "4th" … "11th", "12th", "13th" … "21st", "22nd", "23rd" … "31st".
    static CQoString Ordinal(int day);
    // The label of an hour row: "12a", "1a" … "11a", "12p", "1p" … "11p".
    static CQoString HourLabel(int hour);

    static int TwelveHour(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }
    static char16_t Meridiem(int hour) { return hour < 12 ? u'a' : u'p'; }
};
