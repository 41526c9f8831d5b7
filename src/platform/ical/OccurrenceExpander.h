#pragma once
// The occurrences of an event within a window of local time, exactly as its document means them:
// the RRULE expanded by libical in the event's own zone (so a 9:00 meeting in New York moves in
// local time when only one of the two zones changes to summer time), RDATEs added, EXDATEs taken
// out.
//
// Bounded: at most `maxOccurrences` occurrences in the window, and at most `maxSteps` steps of
// the rule from its start to the window's end (a rule every second that began years ago would
// otherwise run for hours). Either limit ends the expansion and says which.

#include "platform/ical/Event.h"

#include <cstddef>
#include <string>
#include <vector>

namespace ical {

class Calendar;
class ZoneTable;

struct Occurrence {
    LocalTime start = 0;
    LocalTime end = 0;
    std::string recurrenceId; // recurrenceKey of its original start; empty for an event that does not repeat
};

class OccurrenceExpander {
public:
    struct Limits {
        std::size_t maxOccurrences = 10'000;
        std::size_t maxSteps = 2'000'000;
    };
    enum class Outcome { Complete, TooManyOccurrences, TooMuchWork };

    explicit OccurrenceExpander(const Calendar& calendar);
    OccurrenceExpander(const Calendar& calendar, Limits limits);

    // Appends the occurrences that touch [from, to] (ending at or after `from`, starting at or
    // before `to`) in start order; past a limit, the ones found until then. A changed occurrence is still there: the caller replaces it
    // with the event that changes it (Event::recurrenceId).
    Outcome expand(const Event& event, LocalTime from, LocalTime to, std::vector<Occurrence>& out) const;

private:
    bool isDeleted(const Event& event, LocalTime start) const;

    const ZoneTable& m_zones;
    Limits m_limits;
};

} // namespace ical
