#pragma once
// Every occurrence of a document's events within a window of local time, as a calendar that shows
// the document (a feed) needs them: repeating events expanded exactly as the document means them
// (OccurrenceExpander), a changed occurrence (RECURRENCE-ID) in place of the one it changes, and
// cancelled events and occurrences left out. Of two VEVENTs for one thing the later version counts
// (EventGroups).
//
//   const ical::CalendarOccurrences found(calendar, from, to);
//   for (const ical::CalendarOccurrences::Placed& one : found.occurrences()) ...   // start order
//
// Bounded like an import: a series with more occurrences in the window than the limit per event, or
// whose rule takes too long to expand, is left out whole with its reason (a series cut short would
// mislead), and so is everything past the limit of the whole document.

#include "platform/ical/Event.h"

#include <cstddef>
#include <string>
#include <vector>

namespace ical {

class Calendar;

class CalendarOccurrences {
public:
    struct Limits {
        std::size_t maxPerEvent = 10'000;
        std::size_t maxTotal = 100'000;
    };
    struct Placed {
        const Event* event = nullptr;
        LocalTime start = 0;
        LocalTime end = 0;
    };
    struct LeftOut {
        const Event* event = nullptr;
        std::string reason;
    };

    // The calendar must outlive the result: occurrences point at its events.
    CalendarOccurrences(const Calendar& calendar, LocalTime from, LocalTime to);
    CalendarOccurrences(const Calendar& calendar, LocalTime from, LocalTime to, Limits limits);

    // Those that touch [from, to] (ending at or after `from`, starting at or before `to`), in
    // start order.
    const std::vector<Placed>& occurrences() const { return m_occurrences; }
    // Events read but not shown, with the reason; cancelled events are not listed.
    const std::vector<LeftOut>& leftOut() const { return m_leftOut; }

private:
    std::vector<Placed> m_occurrences;
    std::vector<LeftOut> m_leftOut;
};

} // namespace ical
