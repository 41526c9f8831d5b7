#include "platform/ical/OccurrenceExpander.h"

#include "platform/ical/Calendar.h"
#include "platform/ical/EventReader.h"
#include "platform/ical/ZoneTable.h"

#include "platform/device/CivilDate.h"

#include <libical/ical.h>

#include <algorithm>

namespace ical {

namespace {

LocalTime floorDay(LocalTime time)
{
    const LocalTime day = time / kMillisecondsPerDay - (time % kMillisecondsPerDay < 0 ? 1 : 0);
    return day * kMillisecondsPerDay;
}

// A local time as the fields of a date-time in `zone`.
icaltimetype timeOf(LocalTime time, bool isDate, icaltimezone* zone)
{
    const LocalTime midnight = floorDay(time);
    const device::CivilDate date = device::CivilDate::fromDayNumber(midnight / kMillisecondsPerDay);
    const LocalTime intoDay = (time - midnight) / 1000;
    icaltimetype value = icaltime_null_time();
    value.year = int(date.year());
    value.month = date.month();
    value.day = date.day();
    value.is_date = isDate;
    if (!isDate) {
        value.hour = int(intoDay / 3600);
        value.minute = int(intoDay / 60 % 60);
        value.second = int(intoDay % 60);
    }
    return zone ? icaltime_set_timezone(&value, zone) : value;
}

// The local time of the wall-clock fields themselves, as if they were local.
LocalTime asIfLocal(const WallTime& wall)
{
    return ZoneTable::fromFields(wall.year, wall.month, wall.day, wall.hour, wall.minute, wall.second).value_or(0);
}

} // namespace

OccurrenceExpander::OccurrenceExpander(const Calendar& calendar) : OccurrenceExpander(calendar, Limits()) {}

OccurrenceExpander::OccurrenceExpander(const Calendar& calendar, Limits limits)
    : m_zones(calendar.zones()), m_limits(limits)
{
}

bool OccurrenceExpander::isDeleted(const Event& event, LocalTime start) const
{
    for (std::size_t i = 0; i < event.exceptionDates.size(); ++i) {
        const LocalTime deleted = event.exceptionDates[i];
        if (deleted == start || (event.exceptionIsDate[i] && deleted == floorDay(start)))
            return true;
    }
    return false;
}

OccurrenceExpander::Outcome OccurrenceExpander::expand(const Event& event, LocalTime from, LocalTime to,
                                                       std::vector<Occurrence>& out) const
{
    const LocalTime duration = event.duration();
    if (!event.isRecurring()) {
        if (event.start + duration >= from && event.start <= to)
            out.push_back({event.start, event.start + duration, {}});
        return Outcome::Complete;
    }
    std::vector<Occurrence> found;
    Outcome outcome = Outcome::Complete;
    const auto take = [&](LocalTime start, std::string key) {
        if (start + duration < from || start > to || isDeleted(event, start))
            return true;
        if (found.size() >= m_limits.maxOccurrences) {
            outcome = Outcome::TooManyOccurrences;
            return false;
        }
        found.push_back({start, start + duration, std::move(key)});
        return true;
    };

    icaltimezone* zone = nullptr;
    if (event.timeKind == TimeKind::Zoned)
        zone = m_zones.find(event.zone);
    else if (event.timeKind == TimeKind::Utc)
        zone = icaltimezone_get_utc_timezone();
    icaltimetype start = icaltime_null_time();
    start.year = event.startWall.year;
    start.month = event.startWall.month;
    start.day = event.startWall.day;
    start.hour = event.startWall.hour;
    start.minute = event.startWall.minute;
    start.second = event.startWall.second;
    start.is_date = event.startWall.isDate;
    if (zone)
        start = icaltime_set_timezone(&start, zone);

    if (event.rule) {
        icalrecurrencetype rule = icalrecurrencetype_from_string(event.rule->text.c_str());
        icalrecur_iterator* iterator = icalrecur_iterator_new(rule, start);
        if (iterator) {
            // Jump close to the window where libical can (no COUNT to keep, whole days): two days
            // before it, in the event's own wall time, covers any difference of zones.
            const bool daysOrLonger = event.rule->frequency >= RecurrenceRule::Frequency::Daily && !event.rule->hasTimeParts;
            const LocalTime wallOffset = asIfLocal(event.startWall) - event.start;
            const LocalTime jumpTo = from - duration - 2 * kMillisecondsPerDay + wallOffset;
            if (event.rule->count == 0 && daysOrLonger && jumpTo > asIfLocal(event.startWall))
                icalrecur_iterator_set_start(iterator, timeOf(jumpTo, start.is_date, zone));
            std::size_t steps = 0;
            for (icaltimetype next = icalrecur_iterator_next(iterator); !icaltime_is_null_time(next);
                 next = icalrecur_iterator_next(iterator)) {
                if (++steps > m_limits.maxSteps) {
                    outcome = Outcome::TooMuchWork;
                    break;
                }
                const std::optional<LocalTime> local = ZoneTable::toLocal(next, next.is_date ? nullptr : zone);
                if (!local || *local > to)
                    break;
                if (!take(*local, recurrenceKeyOf(next, next.is_date ? nullptr : zone)))
                    break;
            }
            icalrecur_iterator_free(iterator);
        }
    } else {
        // Without a rule the start itself is the first occurrence.
        take(event.start, recurrenceKeyOf(start, start.is_date ? nullptr : zone));
    }
    for (std::size_t i = 0; i < event.extraDates.size() && outcome == Outcome::Complete; ++i)
        take(event.extraDates[i], event.extraDateKeys[i]);

    std::sort(found.begin(), found.end(), [](const Occurrence& a, const Occurrence& b) { return a.start < b.start; });
    found.erase(std::unique(found.begin(), found.end(),
                            [](const Occurrence& a, const Occurrence& b) { return a.start == b.start; }),
                found.end());
    out.insert(out.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    return outcome;
}

} // namespace ical
