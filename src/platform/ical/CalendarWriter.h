#pragma once
// Writes events as an iCalendar document that other calendars read (RFC 5545, through libical):
// times in the device's zone with its VTIMEZONE when the zone database knows it (UTC on a UTC
// host), floating local times otherwise; all-day events as DATE values with the exclusive end
// iCalendar uses; a repeating event as its RRULE with its EXDATEs.
//
//   ical::CalendarWriter writer(ical::hostZoneName());
//   writer.add(event);              // Event: start, end, allDay, rule, exceptionDates, texts, uid
//   std::string text = writer.text();

#include "platform/ical/Event.h"

#include <string>

typedef struct icalcomponent_impl icalcomponent;
typedef struct _icaltimezone icaltimezone;

namespace ical {

class CalendarWriter {
public:
    // `zone`: a zone name of the zone database, "UTC", or empty for floating times.
    explicit CalendarWriter(const std::string& zone);
    ~CalendarWriter();
    CalendarWriter(const CalendarWriter&) = delete;
    CalendarWriter& operator=(const CalendarWriter&) = delete;

    // Adds one event. The rule's parts are written from the RecurrenceRule fields (its `text` is
    // not used); `until` and the exception dates are local times like the rest; `recurrenceId`, a
    // recurrenceKey(), makes it one occurrence of the series `uid` names. False (nothing added)
    // for an event libical will not write (a rule it cannot take).
    bool add(const Event& event);
    int count() const { return m_count; }

    // The whole document, lines ending in CRLF.
    std::string text() const;

private:
    std::string ruleText(const RecurrenceRule& rule, bool allDay) const;

    icalcomponent* m_calendar;
    icaltimezone* m_zone = nullptr; // null: floating
    bool m_utc = false;
    std::string m_zoneName;
    int m_count = 0;
};

} // namespace ical
