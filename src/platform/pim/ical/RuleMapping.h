#pragma once
// Between iCalendar's recurrence rules and the store's recurrence patterns.
//
// The store repeats daily, weekly on a set of weekdays, monthly on a day or an n-th weekday, and
// yearly on a date or an n-th weekday of a month, every N periods, for a count or until a day.
// patternFor() finds the pattern that gives exactly the occurrences the event's rule gives: it
// maps what has a pattern (BYMONTHDAY=-1 is day 31, "the last day"; BYDAY=1MO,-1FR or a BYSETPOS
// of 1 to 4 or -1 is an n-th weekday) and then checks the pattern against libical's own expansion
// of the event, with its EXDATEs as deleted occurrences. Whatever differs — BYHOUR and the other
// time parts, hourly rules, RDATEs, a month day that iCalendar skips in short months but the store
// moves to the last day, a zone whose summer time differs from the device's — has no pattern.
//
// ruleFor() is the other way round, for export: the rule whose occurrences are the pattern's.

#include "platform/ical/Event.h"
#include "platform/ical/OccurrenceExpander.h"
#include "platform/pim/RecurrencePattern.h"

#include <optional>
#include <string>

namespace ical {
class Calendar;
}

namespace pim {

class RuleMapping {
public:
    // The pattern for the repeating `event` of `calendar`, with its deleted occurrences, checked
    // from the event's start to `checkUntil` (local time); nothing, with a reason, when the store
    // cannot repeat it so.
    static std::optional<RecurrencePattern> patternFor(const ical::Calendar& calendar, const ical::Event& event,
                                                       ical::LocalTime checkUntil, std::string& whyNot);

    // The rule of `pattern` for a series that starts at `start` (local); its `until` is the last
    // occurrence's start.
    static ical::RecurrenceRule ruleFor(const RecurrencePattern& pattern, ical::LocalTime start);

private:
    static std::optional<RecurrencePattern> mapRule(const ical::Event& event, std::string& whyNot);
    static bool sameOccurrences(const ical::Calendar& calendar, const ical::Event& event,
                                const RecurrencePattern& pattern, ical::LocalTime checkUntil);
};

} // namespace pim
