#pragma once
// CTavrelAppointmentTemplate: a named recipe for a new appointment of the store — its subject (the
// template's name), duration, recurrence, default start hour and whether a clash with existing
// appointments moves it to a free hour. Templates are stored by CTavrelTemplateStore and offered
// as items of the day menu's "New" submenu; choosing one makes the appointment here
// (ToNewAppointment), which is saved without opening the appointment editor.
//
// The texts are the ones the store holds and the Template Details dialog offers:
//
//   Duration    "All Day", "15 min", "30 min", "45 min", "1 hr", "2 hrs", "4 hrs", "8 hrs",
//               "2 days", "3 days", "1 week"
//   Frequency   "One time", "Weekly", "Monthly", "Yearly"
//   Start time  "12am", "1am" … "11am", "12pm", "1pm" … "11pm" ("%d%cm", the hour on a 12-hour dial)
//
// Start: the held hour when the user held an hour; on a held day the template's start hour, or —
// when it resolves conflicts — the first free hour of the working day from its start hour on.
// "All Day" makes the appointment start and end at the held day's midnight. A duration text that
// is none of the above gives a one-hour appointment; a frequency text that is none of them, no
// recurrence.

#include "common/QoString.h"
#include "data/TavrelNewAppointment.h"

#include <array>
#include <optional>

class CTavrelFreeHour;

class CTavrelAppointmentTemplate {
public:
    static constexpr const char16_t* AllDay = u"All Day";
    static constexpr const char16_t* OneTime = u"One time";
    // What a duration text that is none of the known ones makes.
    static constexpr const char16_t* UnknownDurationMeans = u"1 hr";
    static constexpr std::array<const char16_t*, 11> DurationTexts
        = {u"All Day", u"15 min", u"30 min", u"45 min", u"1 hr",  u"2 hrs",
           u"4 hrs",   u"8 hrs",  u"2 days", u"3 days", u"1 week"};
    static constexpr std::array<const char16_t*, 4> FrequencyTexts = {u"One time", u"Weekly", u"Monthly", u"Yearly"};

    CQoString subject;
    CQoString duration = AllDay;
    CQoString frequency = OneTime;
    bool autoResolve = true;
    CQoString startTime; // empty: the working day's start

    // "9am", "12pm", "12am" for hours 9, 12 and 0.
    static CQoString StartTimeText(int hour);
    // The hour of a start time text: the number at its front, 12 counting as 0, plus 12 when the
    // text has a "p" ("12pm" 12, "12am" 0, "1pm" 13). None for a text without a number at its
    // front or an hour outside 0-23.
    static std::optional<int> StartHour(const CQoString& text);

    // The end of an appointment of this duration starting at `start`; one hour for a duration text
    // that is none of the known ones. ("All Day" is handled by ToNewAppointment.)
    device::OleDateTime EndFor(const device::OleDateTime& start) const;
    CTavrelNewAppointment::Recurrence GetRecurrence() const;
    bool IsAllDay() const { return duration.CompareNoCase(AllDay) == 0; }

    // The appointment this template makes when chosen on `held`.
    std::optional<CTavrelNewAppointment> ToNewAppointment(const device::OleDateTime& held,
                                                          CTavrelFreeHour& freeHours) const;
};
