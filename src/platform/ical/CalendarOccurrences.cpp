#include "platform/ical/CalendarOccurrences.h"

#include "platform/ical/Calendar.h"
#include "platform/ical/EventGroups.h"
#include "platform/ical/OccurrenceExpander.h"

#include <algorithm>

namespace ical {

CalendarOccurrences::CalendarOccurrences(const Calendar& calendar, LocalTime from, LocalTime to)
    : CalendarOccurrences(calendar, from, to, Limits())
{
}

CalendarOccurrences::CalendarOccurrences(const Calendar& calendar, LocalTime from, LocalTime to, Limits limits)
{
    const auto touches = [from, to](LocalTime start, LocalTime end) { return end >= from && start <= to; };
    const EventGroups grouped(calendar.events());
    for (const EventGroups::Replaced& replaced : grouped.replaced())
        m_leftOut.push_back(
            {replaced.loser,
             "the event on line " + std::to_string(replaced.winner->line) + " has the same UID and replaces it"});

    std::size_t budget = limits.maxTotal;
    std::vector<Occurrence> found;
    for (const EventGroups::Group& group : grouped.groups()) {
        const Event* master = group.master;
        // A cancelled event takes its changed occurrences with it.
        if (master && master->cancelled)
            continue;
        found.clear();
        if (master && master->isRecurring()) {
            const OccurrenceExpander expander(calendar, {std::min(limits.maxPerEvent, budget), 4'000'000});
            switch (expander.expand(*master, from, to, found)) {
            case OccurrenceExpander::Outcome::Complete:
                break;
            case OccurrenceExpander::Outcome::TooManyOccurrences:
                m_leftOut.push_back({master,
                                     budget < limits.maxPerEvent ? "the limit of " + std::to_string(limits.maxTotal)
                                             + " occurrences of the whole calendar is reached"
                                                                 : "it has more than "
                                             + std::to_string(limits.maxPerEvent) + " occurrences in the window"});
                master = nullptr;
                found.clear();
                break;
            case OccurrenceExpander::Outcome::TooMuchWork:
                m_leftOut.push_back({master, "its rule takes too long to expand"});
                master = nullptr;
                found.clear();
                break;
            }
        } else if (master && touches(master->start, master->end)) {
            found.push_back({master->start, master->end, {}});
        }

        std::vector<Placed> placed;
        for (const auto& [recurrenceId, changed] : group.overrides) {
            if (changed->rangeThisAndFuture) {
                m_leftOut.push_back({changed, "it changes all later occurrences too (RANGE=THISANDFUTURE)"});
                continue;
            }
            std::erase_if(found, [&](const Occurrence& occurrence) {
                return occurrence.recurrenceId == recurrenceId
                    || (changed->recurrenceIdStart && occurrence.start == *changed->recurrenceIdStart);
            });
            if (!changed->cancelled && touches(changed->start, changed->end))
                placed.push_back({changed, changed->start, changed->end});
        }
        for (const Occurrence& occurrence : found)
            placed.push_back({master, occurrence.start, occurrence.end});
        if (placed.size() > budget) {
            for (const Placed& one : placed) {
                if (m_leftOut.empty() || m_leftOut.back().event != one.event)
                    m_leftOut.push_back({one.event,
                                         "the limit of " + std::to_string(limits.maxTotal)
                                             + " occurrences of the whole calendar is reached"});
            }
            continue;
        }
        budget -= placed.size();
        m_occurrences.insert(m_occurrences.end(), placed.begin(), placed.end());
    }
    std::stable_sort(m_occurrences.begin(), m_occurrences.end(),
                     [](const Placed& a, const Placed& b) { return a.start < b.start; });
}

} // namespace ical
