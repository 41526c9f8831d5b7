#pragma once
// An iCalendar document read for use: its name, its events in the device's local time, and what
// could not be read, with reasons. Reading never stops at one bad event; only a file that is not
// iCalendar text at all (or is cut short, or too large) fails as a whole.
//
//   std::string error;
//   std::optional<ical::Calendar> calendar = ical::Calendar::read(bytes, error);
//   for (const ical::Event& event : calendar->events()) ...
//   ical::OccurrenceExpander(*calendar).expand(event, from, to, occurrences);   // repeating ones
//
// Each component is parsed on its own, so memory follows the number of events, not the size of
// a parse tree of the whole document.

#include "platform/ical/Event.h"

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ical {

class ZoneTable;

class Calendar {
public:
    struct Skipped {
        int line = 0; // of its BEGIN:VEVENT
        std::string uid;
        std::string summary;
        std::string reason; // "it has no DTSTART"
    };

    // Called now and then while events are read: how many components were read of how many.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    // The document, or nothing with a one-line reason in `error` (not iCalendar, not UTF-8, cut
    // short, larger than CalendarText::kMaxBytes).
    static std::optional<Calendar> read(std::string bytes, std::string& error, const Progress& progress = {});

    Calendar(Calendar&&) noexcept;
    Calendar& operator=(Calendar&&) noexcept;
    ~Calendar();

    // X-WR-CALNAME, or empty.
    const std::string& name() const { return m_name; }
    const std::vector<Event>& events() const { return m_events; }
    const std::vector<Skipped>& skipped() const { return m_skipped; }
    // Components that are not events, counted by name ("VTODO": 3); time zones are not counted.
    const std::map<std::string, int>& otherComponents() const { return m_others; }
    const ZoneTable& zones() const { return *m_zones; }

private:
    Calendar();

    std::string m_name;
    std::vector<Event> m_events;
    std::vector<Skipped> m_skipped;
    std::map<std::string, int> m_others;
    std::unique_ptr<ZoneTable> m_zones;
};

} // namespace ical
