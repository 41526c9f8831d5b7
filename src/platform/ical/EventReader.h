#pragma once
// Reads one parsed VEVENT into an Event: times converted to local time through the document's
// zones, the rule taken apart, attendees named. An event that cannot be read as its author meant
// it (no start, an unknown zone, an end before its start, a damaged rule or date list) gives the
// reason instead, so that it is reported rather than read wrongly.

#include "platform/ical/Event.h"
#include "platform/ical/ZoneTable.h"

#include <libical/ical.h>

#include <string>

namespace ical {

// recurrenceKey() of a date-time written in `zone` (null: floating, DATE or UTC).
std::string recurrenceKeyOf(const icaltimetype& value, icaltimezone* zone);

class EventReader {
public:
    explicit EventReader(const ZoneTable& zones) : m_zones(zones) {}

    // True with `event` filled; false with a reason that completes "the event ... is skipped: ".
    bool read(icalcomponent* vevent, Event& event, std::string& reason) const;

private:
    struct Time {
        icaltimetype value {};
        icaltimezone* zone = nullptr; // null: floating, DATE or UTC (value says which)
        LocalTime local = 0;
    };
    // The date-time of a DTSTART, DTEND, EXDATE, RDATE or RECURRENCE-ID property.
    bool readTime(icalproperty* property, const icaltimetype& value, Time& time, std::string& reason) const;
    bool readRule(icalproperty* property, RecurrenceRule& rule, std::string& reason) const;
    static std::string keyOf(const Time& time);

    const ZoneTable& m_zones;
};

} // namespace ical
