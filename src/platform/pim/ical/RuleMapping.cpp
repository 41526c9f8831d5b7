#include "platform/pim/ical/RuleMapping.h"

#include "platform/device/CivilDate.h"
#include "platform/device/VariantTime.h"
#include "platform/ical/Calendar.h"
#include "platform/pim/Constants.h"
#include "platform/pim/RecurrenceSchedule.h"
#include "platform/pim/TimeLine.h"

#include <algorithm>
#include <vector>

namespace pim {

namespace {

using device::CivilDate;
using Frequency = ical::RecurrenceRule::Frequency;

// How many occurrences are compared with libical's from the start, and in the years around the
// end of the check: enough to meet every leap year, summer-time change and short month.
constexpr std::size_t kCheckedOccurrences = 2'000;

// An n-th weekday instance of the store (1-4, 5 = the last) for iCalendar's ordinal; 0 for none.
int instanceOf(int ordinal)
{
    if (ordinal >= 1 && ordinal <= 4)
        return ordinal;
    return ordinal == -1 ? 5 : 0;
}

int ordinalOf(int instance) { return instance >= 5 ? -1 : instance; }

// BYMONTHDAY=28,29,...,d with BYSETPOS=-1: "day d, or the month's last day when it is shorter".
int lastDayUpTo(const ical::RecurrenceRule& rule)
{
    if (rule.bySetPosition != std::vector<int> {-1} || rule.byMonthDay.size() < 2)
        return 0;
    std::vector<int> days = rule.byMonthDay;
    std::sort(days.begin(), days.end());
    if (days.front() != 28)
        return 0;
    for (std::size_t i = 1; i < days.size(); ++i) {
        if (days[i] != days[i - 1] + 1)
            return 0;
    }
    return days.back() <= 31 ? days.back() : 0;
}

} // namespace

std::optional<RecurrencePattern> RuleMapping::mapRule(const ical::Event& event, std::string& whyNot)
{
    const ical::RecurrenceRule& rule = *event.rule;
    if (!event.extraDates.empty()) {
        whyNot = "it adds occurrences (RDATE)";
        return std::nullopt;
    }
    if (rule.hasTimeParts || rule.frequency < Frequency::Daily) {
        whyNot = "it repeats within a day";
        return std::nullopt;
    }
    if (rule.hasYearParts || rule.hasOtherCalendar) {
        whyNot = "it repeats by week or day of the year, or by another calendar";
        return std::nullopt;
    }
    if (rule.interval > 999) {
        whyNot = "its interval is above 999";
        return std::nullopt;
    }
    const std::int64_t startDay = TimeLine::dayOf(event.start);
    const CivilDate startDate = CivilDate::fromDayNumber(startDay);
    RecurrencePattern pattern(startDay);
    pattern.setInterval(rule.interval);

    int mask = 0;
    bool everyWeekday = true; // every BYDAY entry without an ordinal
    for (const ical::RecurrenceRule::WeekdayNumber& day : rule.byDay) {
        mask |= 1 << day.weekday;
        everyWeekday = everyWeekday && day.ordinal == 0;
    }
    const bool oneSetPosition = rule.bySetPosition.size() == 1 && instanceOf(rule.bySetPosition.front()) != 0;
    // The n-th of the weekdays in the mask: "BYDAY=2TU", or "BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1".
    const auto nthWeekday = [&]() -> int {
        if (rule.byDay.size() == 1 && rule.byDay.front().ordinal != 0 && rule.bySetPosition.empty())
            return instanceOf(rule.byDay.front().ordinal);
        if (!rule.byDay.empty() && everyWeekday && oneSetPosition)
            return instanceOf(rule.bySetPosition.front());
        return 0;
    };
    const auto unmapped = [&](const char* reason) -> std::optional<RecurrencePattern> {
        whyNot = reason;
        return std::nullopt;
    };

    switch (rule.frequency) {
    case Frequency::Daily:
        if (!rule.byMonthDay.empty() || !rule.byMonth.empty() || !rule.bySetPosition.empty())
            return unmapped("its daily rule is limited to some days of the month or year");
        if (rule.byDay.empty()) {
            pattern.setRecurrenceType(olRecursDaily);
        } else if (everyWeekday && rule.interval == 1) {
            pattern.setRecurrenceType(olRecursWeekly);
            pattern.setDayOfWeekMask(mask);
        } else {
            return unmapped("its daily rule picks weekdays every few days");
        }
        break;
    case Frequency::Weekly:
        if (!rule.byMonthDay.empty() || !rule.byMonth.empty() || !rule.bySetPosition.empty() || !everyWeekday)
            return unmapped("its weekly rule is limited to some days of the month or year");
        if (mask == 0)
            mask = 1 << CivilDate::dayOfWeek(startDay);
        // The store's weeks start on Sunday. Every few weeks on Sunday and other days, weeks that
        // start on another day group the days differently.
        if (rule.interval > 1 && rule.weekStart != 0 && (mask & 1) && mask != 1)
            return unmapped("it repeats every few weeks, on Sunday and other days, in weeks that start on Monday");
        pattern.setRecurrenceType(olRecursWeekly);
        pattern.setDayOfWeekMask(mask);
        break;
    case Frequency::Monthly:
        if (!rule.byMonth.empty())
            return unmapped("its monthly rule is limited to some months");
        if (const int instance = nthWeekday(); instance != 0 && rule.byMonthDay.empty()) {
            pattern.setRecurrenceType(olRecursMonthNth);
            pattern.setDayOfWeekMask(mask);
            pattern.setInstance(instance);
        } else if (rule.byDay.empty()) {
            int day = 0;
            if (rule.byMonthDay.empty() && rule.bySetPosition.empty())
                day = startDate.day();
            else if (rule.byMonthDay.size() == 1 && rule.bySetPosition.empty())
                day = rule.byMonthDay.front() == -1 ? 31 : rule.byMonthDay.front();
            else
                day = lastDayUpTo(rule);
            // iCalendar leaves out the months that lack the day; the store moves it to the last day.
            if (day < 1 || (day > 28 && !(rule.byMonthDay == std::vector<int> {-1}) && lastDayUpTo(rule) == 0))
                return unmapped("it falls on a day some months lack");
            pattern.setRecurrenceType(olRecursMonthly);
            pattern.setDayOfMonth(day);
        } else {
            return unmapped("its monthly rule picks several days");
        }
        break;
    case Frequency::Yearly: {
        if (rule.byMonth.size() > 1)
            return unmapped("its yearly rule picks several months");
        const int month = rule.byMonth.empty() ? startDate.month() : rule.byMonth.front();
        if (const int instance = nthWeekday(); instance != 0 && rule.byMonthDay.empty() && !rule.byMonth.empty()) {
            pattern.setRecurrenceType(olRecursYearNth);
            pattern.setMonthOfYear(month);
            pattern.setDayOfWeekMask(mask);
            pattern.setInstance(instance);
        } else if (rule.byDay.empty() && (rule.byMonthDay.empty() || !rule.byMonth.empty())) {
            int day = 0;
            const int length = CivilDate::daysInMonth(2001, month); // a common year
            if (rule.byMonthDay.empty() && rule.bySetPosition.empty())
                day = startDate.day();
            else if (rule.byMonthDay.size() == 1 && rule.bySetPosition.empty())
                day = rule.byMonthDay.front() == -1 ? CivilDate::daysInMonth(2000, month) : rule.byMonthDay.front();
            else
                day = lastDayUpTo(rule);
            const bool lastOfFebruary = month == 2 && (rule.byMonthDay == std::vector<int> {-1} || lastDayUpTo(rule) == 29);
            if (day < 1 || (day > length && !lastOfFebruary))
                return unmapped("it falls on February 29, which iCalendar leaves out in common years");
            pattern.setRecurrenceType(olRecursYearly);
            pattern.setMonthOfYear(month);
            pattern.setDayOfMonth(day);
        } else {
            return unmapped("its yearly rule picks several days");
        }
        break;
    }
    default:
        return unmapped("it repeats within a day");
    }

    if (rule.count > 0) {
        pattern.setOccurrences(rule.count);
    } else if (rule.until) {
        // UNTIL is the last instant an occurrence may start: on its day, an occurrence later in
        // the day than UNTIL does not take place.
        const Milliseconds intoDay = event.start - TimeLine::midnightOf(startDay);
        std::int64_t lastDay = TimeLine::dayOf(*rule.until);
        if (!rule.untilIsDate && TimeLine::midnightOf(lastDay) + intoDay > *rule.until)
            --lastDay;
        if (lastDay < startDay)
            return unmapped("its rule ends before it starts");
        pattern.setPatternEndDate(TimeLine::toDateTime(TimeLine::midnightOf(lastDay)));
    } else {
        pattern.setNoEndDate(true);
    }
    for (ical::LocalTime deleted : event.exceptionDates)
        pattern.deleteOccurrenceOn(TimeLine::dayOf(deleted));
    if (pattern.validate() != Error::None)
        return unmapped("its rule has no pattern of the store");
    return pattern;
}

bool RuleMapping::sameOccurrences(const ical::Calendar& calendar, const ical::Event& event,
                                  const RecurrencePattern& pattern, ical::LocalTime checkUntil)
{
    const Milliseconds duration = event.duration();
    const Milliseconds intoDay = event.start - TimeLine::midnightOf(pattern.startDay());
    const RecurrenceSchedule schedule(pattern);
    const auto storeOccurrences = [&](Milliseconds from, Milliseconds to, std::size_t limit) {
        std::vector<Milliseconds> starts;
        schedule.forEachDay(TimeLine::dayOf(from - intoDay - duration), TimeLine::dayOf(to - intoDay), [&](std::int64_t day) {
            const Milliseconds start = TimeLine::midnightOf(day) + intoDay;
            if (!pattern.isDeletedOccurrence(day) && start + duration >= from && start <= to)
                starts.push_back(start);
            return starts.size() < limit;
        });
        return starts;
    };
    const ical::OccurrenceExpander expander(calendar, {kCheckedOccurrences, 4'000'000});
    const auto compare = [&](Milliseconds from, Milliseconds to) {
        std::vector<ical::Occurrence> expected;
        const ical::OccurrenceExpander::Outcome outcome = expander.expand(event, from, to, expected);
        if (outcome == ical::OccurrenceExpander::Outcome::TooMuchWork)
            return false;
        std::vector<Milliseconds> starts = storeOccurrences(from, to, kCheckedOccurrences + 1);
        // Past the limit only the part both sides reached is compared.
        if (outcome == ical::OccurrenceExpander::Outcome::TooManyOccurrences) {
            const Milliseconds last = expected.back().start;
            starts.erase(std::remove_if(starts.begin(), starts.end(), [&](Milliseconds start) { return start > last; }),
                         starts.end());
        }
        if (starts.size() != expected.size())
            return false;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            if (starts[i] != expected[i].start || expected[i].end - expected[i].start != duration)
                return false;
        }
        return true;
    };
    const Milliseconds horizon = std::max(checkUntil, event.start);
    // From the start on, and the years before the end of the check, where a series that began long
    // ago is seen.
    return compare(event.start, horizon) &&
        compare(std::max(event.start, horizon - 3 * 366 * kMillisecondsPerDay), horizon);
}

std::optional<RecurrencePattern> RuleMapping::patternFor(const ical::Calendar& calendar, const ical::Event& event,
                                                         ical::LocalTime checkUntil, std::string& whyNot)
{
    std::optional<RecurrencePattern> pattern = mapRule(event, whyNot);
    if (pattern && !sameOccurrences(calendar, event, *pattern, checkUntil)) {
        whyNot = event.timeKind == ical::TimeKind::Floating
            ? "the store's pattern would not give the same days"
            : "its zone changes to summer time on other days than the device's";
        return std::nullopt;
    }
    return pattern;
}

ical::RecurrenceRule RuleMapping::ruleFor(const RecurrencePattern& stored, ical::LocalTime start)
{
    const RecurrencePattern pattern = stored.resolved();
    ical::RecurrenceRule rule;
    rule.interval = pattern.interval();
    rule.weekStart = 0; // the store's weeks start on Sunday
    const auto weekdays = [&](int ordinal) {
        for (int weekday = 0; weekday < 7; ++weekday) {
            if ((pattern.dayOfWeekMask() >> weekday) & 1)
                rule.byDay.push_back({ordinal, weekday});
        }
    };
    const auto nth = [&] {
        // One weekday: "2TU"; several: the n-th of them, "MO,TU,WE,TH,FR;BYSETPOS=1".
        const int ordinal = ordinalOf(pattern.instance());
        if ((pattern.dayOfWeekMask() & (pattern.dayOfWeekMask() - 1)) == 0) {
            weekdays(ordinal);
        } else {
            weekdays(0);
            rule.bySetPosition = {ordinal};
        }
    };
    // A day beyond a month's length falls on its last day: "the largest of 28 ... d that the month
    // has", or simply the last day for 31.
    const auto monthDay = [&](int day, int month) {
        const int shortest = month ? CivilDate::daysInMonth(2001, month) : 28;
        if (day <= shortest) {
            rule.byMonthDay = {day};
        } else if (day == 31 || (month && day >= CivilDate::daysInMonth(2000, month))) {
            rule.byMonthDay = {-1};
        } else {
            for (int d = shortest; d <= day; ++d)
                rule.byMonthDay.push_back(d);
            rule.bySetPosition = {-1};
        }
    };
    switch (pattern.recurrenceType()) {
    case olRecursDaily: rule.frequency = Frequency::Daily; break;
    case olRecursWeekly:
        rule.frequency = Frequency::Weekly;
        weekdays(0);
        break;
    case olRecursMonthly:
        rule.frequency = Frequency::Monthly;
        monthDay(pattern.dayOfMonth(), 0);
        break;
    case olRecursMonthNth:
        rule.frequency = Frequency::Monthly;
        nth();
        break;
    case olRecursYearly:
        rule.frequency = Frequency::Yearly;
        rule.byMonth = {pattern.monthOfYear()};
        monthDay(pattern.dayOfMonth(), pattern.monthOfYear());
        break;
    case olRecursYearNth:
        rule.frequency = Frequency::Yearly;
        rule.byMonth = {pattern.monthOfYear()};
        nth();
        break;
    default: break;
    }
    if (pattern.endKind() == RecurrencePattern::EndKind::Count) {
        rule.count = pattern.occurrences();
    } else if (pattern.endKind() == RecurrencePattern::EndKind::EndDate) {
        // The last day an occurrence may fall on, at the series' time of day.
        rule.until = TimeLine::midnightOf(pattern.endDay()) + (start - TimeLine::midnightOf(TimeLine::dayOf(start)));
    }
    return rule;
}

} // namespace pim
