#pragma once
// CTavrelNewAppointment: what a "New" item of the day menu asks the store to create — subject,
// start, end, recurrence, and whether it came from an appointment template (such an appointment
// is not opened in the appointment editor afterwards: the template said everything).
//
// The built-in items work from the held date, the date-time the user held the stylus on (a day at
// 00:00, or an hour of the day and week views):
//
//   35000 "Appointment"          the held hour; for a held day the first free hour of the working
//                                day (CTavrelFreeHour). One hour long.
//   35001 "All Day Appointment"  the held day, all day: start and end at its midnight.
//   35002-35004 "Weekly", "Monthly", "Yearly Appointment"
//                                the held hour, or on a held day the clock's current hour; one hour
//                                long, repeating every week on its weekday (no end), every month
//                                on its day, every year on its month and day.
//
// All day: an appointment whose start and end are both at midnight (the event model's rule), so a
// one-day all-day appointment starts and ends at the same midnight, as the appointment editor
// writes it.

#include "common/QoString.h"
#include "platform/device/OleDateTime.h"

#include <optional>

class CTavrelFreeHour;

class CTavrelNewAppointment {
public:
    enum class Recurrence { None, Weekly, Monthly, Yearly };

    static constexpr const char16_t* DefaultSubject = u"New Appointment";

    CQoString subject = DefaultSubject;
    device::OleDateTime start;
    device::OleDateTime end;
    Recurrence recurrence = Recurrence::None;
    bool fromTemplate = false;

    // The appointment of a built-in item (35000-35004) held at `held`; none for another id or a
    // held date that is no date. `now` gives the hour of the recurring items on a held day.
    static std::optional<CTavrelNewAppointment> ForCommand(int id, const device::OleDateTime& held,
                                                           CTavrelFreeHour& freeHours, const device::OleDateTime& now);

    // Both times at midnight.
    bool IsAllDay() const;
    // Whether a held date names an hour (a non-zero hour or minute) rather than a day.
    static bool HasTime(const device::OleDateTime& held);
    // The held day at hour:00:00; invalid for an hour outside 0-23.
    static device::OleDateTime AtHour(const device::OleDateTime& held, int hour);
    static device::OleDateTime Midnight(const device::OleDateTime& held) { return AtHour(held, 0); }
};
