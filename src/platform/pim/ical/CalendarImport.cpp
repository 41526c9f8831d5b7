#include "platform/pim/ical/CalendarImport.h"

#include "platform/device/DateConversion.h"
#include "platform/device/WideText.h"
#include "platform/ical/Calendar.h"
#include "platform/ical/EventGroups.h"
#include "platform/ical/OccurrenceExpander.h"
#include "platform/pim/Application.h"
#include "platform/pim/ical/RuleMapping.h"

#include <algorithm>
#include <map>
#include <optional>

namespace pim {

namespace {

// One appointment the document asks for.
struct Wanted {
    const ical::Event* event = nullptr;
    Milliseconds start = 0;
    Milliseconds end = 0;
    std::string recurrenceId;
    std::optional<RecurrencePattern> pattern;
};

std::string dateText(ical::LocalTime time)
{
    return device::toUtf8(TimeLine::toDateTime(time).Format(device::VAR_DATEVALUEONLY));
}

// The store's end of an appointment: an all-day one ends at midnight of its last day.
Milliseconds storeEnd(const ical::Event& event, Milliseconds start, Milliseconds end)
{
    if (event.allDay)
        return std::max(start, end - kMillisecondsPerDay);
    return end;
}

std::string joinedCategories(const std::vector<std::string>& categories)
{
    std::string joined;
    for (const std::string& category : categories) {
        if (!joined.empty())
            joined += ", ";
        joined += category;
    }
    return joined;
}

// Fills `item` with what `wanted` says; false when the store refuses the dates.
bool fill(Appointment& item, const Wanted& wanted)
{
    const ical::Event& event = *wanted.event;
    item.setSubject(device::fromUtf8(event.summary));
    item.setLocation(device::fromUtf8(event.location));
    item.setCategories(device::fromUtf8(joinedCategories(event.categories)));
    item.recipients().clear();
    for (const std::string& name : event.attendees)
        item.recipients().add(device::fromUtf8(name));
    item.setAllDayEvent(event.allDay);
    item.clearRecurrencePattern();
    if (!item.setStart(TimeLine::toDateTime(wanted.start)) || !item.setEnd(TimeLine::toDateTime(wanted.end)))
        return false;
    if (wanted.pattern)
        item.getRecurrencePattern() = *wanted.pattern;
    item.setUid(event.uid);
    item.setRecurrenceId(wanted.recurrenceId);
    return true;
}

} // namespace

CalendarImport::CalendarImport(Application& application, ical::LocalTime from, ical::LocalTime to)
    : m_application(application), m_from(from), m_to(to)
{
}

bool CalendarImport::run(const ical::Calendar& calendar, Summary& summary, Error* error, const Progress& progress)
{
    const std::vector<ical::Event>& events = calendar.events();
    for (const ical::Calendar::Skipped& skipped : calendar.skipped())
        summary.skipped.push_back({skipped.line, skipped.uid, skipped.summary, skipped.reason});
    const auto skip = [&](const ical::Event& event, std::string reason) {
        summary.skipped.push_back({event.line, event.uid, event.summary, std::move(reason)});
    };

    // Of two events for the same thing, the later version wins (SEQUENCE, then the order of the
    // document).
    const ical::EventGroups grouped(events);
    for (const ical::EventGroups::Replaced& replaced : grouped.replaced())
        skip(*replaced.loser,
             "the event on line " + std::to_string(replaced.winner->line) + " has the same UID and replaces it");

    std::vector<std::pair<std::string, std::vector<Wanted>>> plan;
    std::size_t occurrenceBudget = kMaxOccurrences;
    const std::string window = dateText(m_from) + " and " + dateText(m_to);
    for (const ical::EventGroups::Group& group : grouped.groups()) {
        const std::string& uid = group.uid;
        std::vector<Wanted> wanted;
        const ical::Event* master = group.master;
        if (master && master->cancelled) {
            // A cancelled event takes its changed occurrences with it; what the store has of it goes.
            ++summary.cancelled;
            plan.emplace_back(uid, std::move(wanted));
            continue;
        }
        std::optional<RecurrencePattern> pattern;
        std::vector<ical::Occurrence> occurrences;
        if (master && master->isRecurring()) {
            std::string whyNot;
            pattern = RuleMapping::patternFor(calendar, *master, std::max(m_to, master->start), whyNot);
            if (!pattern) {
                const ical::OccurrenceExpander expander(
                    calendar, {std::min(kMaxOccurrencesPerEvent, occurrenceBudget), 4'000'000});
                switch (expander.expand(*master, m_from, m_to, occurrences)) {
                case ical::OccurrenceExpander::Outcome::Complete: break;
                case ical::OccurrenceExpander::Outcome::TooManyOccurrences:
                    skip(*master, occurrenceBudget < kMaxOccurrencesPerEvent
                             ? "the import's limit of " + std::to_string(kMaxOccurrences) + " expanded occurrences is reached"
                             : "the store cannot repeat it (" + whyNot + ") and it has more than " +
                                 std::to_string(kMaxOccurrencesPerEvent) + " occurrences between " + window);
                    master = nullptr;
                    break;
                case ical::OccurrenceExpander::Outcome::TooMuchWork:
                    skip(*master, "the store cannot repeat it (" + whyNot + ") and its rule takes too long to expand up to " +
                             dateText(m_to));
                    master = nullptr;
                    break;
                }
                if (master && occurrences.empty()) {
                    skip(*master, "the store cannot repeat it (" + whyNot + ") and none of its occurrences falls between " +
                             window);
                    master = nullptr;
                }
                if (!master)
                    occurrences.clear();
            }
        }
        // The occurrences the changed ones replace.
        for (const auto& [recurrenceId, changedEvent] : group.overrides) {
            const ical::Event& changed = *changedEvent;
            if (changed.rangeThisAndFuture) {
                skip(changed, "it changes all later occurrences too (RANGE=THISANDFUTURE)");
                continue;
            }
            if (pattern && changed.recurrenceIdStart)
                pattern->deleteOccurrenceOn(TimeLine::dayOf(*changed.recurrenceIdStart));
            occurrences.erase(std::remove_if(occurrences.begin(), occurrences.end(),
                                             [&](const ical::Occurrence& occurrence) {
                                                 return occurrence.recurrenceId == recurrenceId ||
                                                     (changed.recurrenceIdStart && occurrence.start == *changed.recurrenceIdStart);
                                             }),
                              occurrences.end());
            if (changed.cancelled) {
                if (!master)
                    skip(changed, "it cancels an occurrence of an event that is not in the file");
                continue;
            }
            wanted.push_back({&changed, changed.start, storeEnd(changed, changed.start, changed.end), recurrenceId, {}});
            ++summary.single;
            ++summary.events;
        }
        if (master) {
            ++summary.events;
            if (pattern) {
                ++summary.series;
                wanted.push_back({master, master->start, storeEnd(*master, master->start, master->end), {}, pattern});
            } else if (!master->isRecurring()) {
                ++summary.single;
                wanted.push_back({master, master->start, storeEnd(*master, master->start, master->end), {}, {}});
            } else {
                ++summary.expanded;
                summary.occurrences += occurrences.size();
                occurrenceBudget -= std::min(occurrenceBudget, occurrences.size());
                for (const ical::Occurrence& occurrence : occurrences)
                    wanted.push_back(
                        {master, occurrence.start, storeEnd(*master, occurrence.start, occurrence.end), occurrence.recurrenceId, {}});
            }
        }
        plan.emplace_back(uid, std::move(wanted));
    }
    std::sort(summary.skipped.begin(), summary.skipped.end(),
              [](const Skipped& a, const Skipped& b) { return a.line < b.line; });

    // The store's side, in one transaction.
    Summary counted = summary;
    const bool written = m_application.runInTransaction(
        [&](Error* reason) {
            std::size_t done = 0;
            for (const auto& [uid, wanted] : plan) {
                if (progress && ++done % 1000 == 0)
                    progress(done, plan.size());
                std::vector<std::unique_ptr<Appointment>> existing = m_application.getItemsFromUid(uid, reason);
                if (reason && *reason != Error::None)
                    return false;
                std::map<std::string, Appointment*> byRecurrenceId;
                for (const std::unique_ptr<Appointment>& item : existing)
                    byRecurrenceId[item->recurrenceId()] = item.get();
                for (const Wanted& one : wanted) {
                    std::unique_ptr<Appointment> fresh;
                    Appointment* item = nullptr;
                    if (auto found = byRecurrenceId.find(one.recurrenceId); found != byRecurrenceId.end()) {
                        item = found->second;
                        byRecurrenceId.erase(found);
                        ++counted.updated;
                    } else {
                        fresh = m_application.createItem(olAppointmentItem, reason);
                        if (!fresh)
                            return false;
                        item = fresh.get();
                        ++counted.added;
                    }
                    if (!fill(*item, one))
                        return fail(reason, Error::InvalidAppointment);
                    if (!item->save(reason))
                        return false;
                }
                for (auto& [recurrenceId, item] : byRecurrenceId) {
                    if (!item->remove(reason))
                        return false;
                    ++counted.removed;
                }
            }
            if (progress)
                progress(plan.size(), plan.size());
            return true;
        },
        error);
    if (written)
        summary = std::move(counted);
    return written;
}

} // namespace pim
