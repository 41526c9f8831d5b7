#pragma once
// The time zones an iCalendar document names: its own VTIMEZONE definitions first, else the
// system's zone database (through libical), and the conversion of a date-time written in one of
// them to the device's local time (the host's zone, as the device clock keeps it).

#include "platform/ical/Event.h"

#include <libical/ical.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace ical {

class ZoneTable {
public:
    ZoneTable() = default;
    ~ZoneTable();
    ZoneTable(const ZoneTable&) = delete;
    ZoneTable& operator=(const ZoneTable&) = delete;

    // Takes over a parsed VTIMEZONE component; false (and it is freed) when it has no TZID.
    bool add(icalcomponent* vtimezone);
    // The zone `tzid` names; null when neither the document nor the system knows it.
    icaltimezone* find(std::string_view tzid) const;

    // The local time of `time` written in `zone` (null: floating, or a DATE); nothing outside the
    // years 100 to 9999.
    static std::optional<LocalTime> toLocal(const icaltimetype& time, icaltimezone* zone);
    // Local time of the fields as they stand (a floating time, a DATE's midnight).
    static std::optional<LocalTime> fromFields(int year, int month, int day, int hour, int minute, int second);
    // The local time of an instant.
    static std::optional<LocalTime> fromUnixTime(std::int64_t seconds);

private:
    std::map<std::string, icaltimezone*, std::less<>> m_own;
};

} // namespace ical
