#include "platform/pim/RecurrenceSchedule.h"

#include "platform/device/CivilDate.h"
#include "platform/device/VariantTime.h"
#include "platform/pim/Constants.h"
#include "platform/pim/TimeLine.h"

#include <algorithm>

namespace pim {

namespace {

using device::CivilDate;

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return -TimeLine::floorDiv(-a, b); }

// Months counted from year 0, so that month arithmetic is plain integer arithmetic.
std::int64_t monthIndex(const CivilDate& date) { return date.year() * 12 + (date.month() - 1); }

// The `instance`-th day (5 = the last) of the month whose weekday is in `mask`; 0 when the month
// has fewer such days.
int nthWeekdayOfMonth(std::int64_t year, int month, int mask, int instance)
{
    const int length = CivilDate::daysInMonth(year, month);
    const std::int64_t first = CivilDate(year, month, 1).dayNumber();
    const auto matches = [&](int day) { return (mask >> CivilDate::dayOfWeek(first + day - 1)) & 1; };
    if (instance >= 5) {
        for (int day = length; day >= 1; --day) {
            if (matches(day))
                return day;
        }
        return 0;
    }
    int seen = 0;
    for (int day = 1; day <= length; ++day) {
        if (matches(day) && ++seen == instance)
            return day;
    }
    return 0;
}

} // namespace

RecurrenceSchedule::RecurrenceSchedule(const RecurrencePattern& pattern)
    : m_pattern(pattern.resolved()), m_endDay(device::kLastDayNumber)
{
    if (m_pattern.endKind() != RecurrencePattern::EndKind::NoEnd)
        m_endDay = std::min(m_pattern.endDay(), device::kLastDayNumber);
}

void RecurrenceSchedule::forEachDay(std::int64_t fromDay, std::int64_t toDay,
                                    const std::function<bool(std::int64_t)>& visit) const
{
    visitDays(fromDay, std::min(toDay, m_endDay), visit);
}

int RecurrenceSchedule::dayInMonth(std::int64_t year, int month) const
{
    const int type = m_pattern.recurrenceType();
    if (type == olRecursMonthNth || type == olRecursYearNth)
        return nthWeekdayOfMonth(year, month, m_pattern.dayOfWeekMask(), m_pattern.instance());
    return std::min(m_pattern.dayOfMonth(), CivilDate::daysInMonth(year, month));
}

void RecurrenceSchedule::visitDays(std::int64_t fromDay, std::int64_t toDay,
                                   const std::function<bool(std::int64_t)>& visit) const
{
    const std::int64_t start = m_pattern.startDay();
    fromDay = std::max({fromDay, start, device::kFirstDayNumber});
    toDay = std::min(toDay, device::kLastDayNumber);
    if (fromDay > toDay)
        return;
    const std::int64_t interval = std::max(1, m_pattern.interval());

    switch (m_pattern.recurrenceType()) {
    case olRecursDaily: {
        for (std::int64_t day = start + ceilDiv(fromDay - start, interval) * interval; day <= toDay; day += interval) {
            if (!visit(day))
                return;
        }
        return;
    }
    case olRecursWeekly: {
        // Weeks run from Sunday; the interval counts weeks from the start's week.
        const std::int64_t firstSunday = start - CivilDate::dayOfWeek(start);
        const std::int64_t weeksToFrom = TimeLine::floorDiv(fromDay - firstSunday, 7);
        const int mask = m_pattern.dayOfWeekMask();
        for (std::int64_t sunday = firstSunday + TimeLine::floorDiv(weeksToFrom, interval) * interval * 7;
             sunday <= toDay; sunday += interval * 7) {
            for (int weekday = 0; weekday < 7; ++weekday) {
                const std::int64_t day = sunday + weekday;
                if (((mask >> weekday) & 1) && day >= fromDay && day <= toDay && !visit(day))
                    return;
            }
        }
        return;
    }
    case olRecursMonthly:
    case olRecursMonthNth:
    case olRecursYearly:
    case olRecursYearNth: {
        const bool yearly = m_pattern.recurrenceType() == olRecursYearly || m_pattern.recurrenceType() == olRecursYearNth;
        // A yearly pattern is a monthly one that steps twelve months at a time, in its own month.
        const std::int64_t step = yearly ? interval * 12 : interval;
        const CivilDate startDate = CivilDate::fromDayNumber(start);
        std::int64_t firstMonth = monthIndex(startDate);
        if (yearly)
            firstMonth = startDate.year() * 12 + (m_pattern.monthOfYear() - 1);
        const std::int64_t monthsToFrom = monthIndex(CivilDate::fromDayNumber(fromDay)) - firstMonth;
        // A yearly pattern whose month lies before the start's month first falls in the next year;
        // the check against fromDay (never before the start) skips such a month.
        for (std::int64_t month = firstMonth + std::max<std::int64_t>(0, TimeLine::floorDiv(monthsToFrom, step)) * step;;
             month += step) {
            const std::int64_t year = TimeLine::floorDiv(month, 12);
            const int monthOfYear = int(month - year * 12) + 1;
            if (year > device::kLastYear || CivilDate(year, monthOfYear, 1).dayNumber() > toDay)
                return;
            const int dayOfMonth = dayInMonth(year, monthOfYear);
            if (dayOfMonth == 0)
                continue;
            const std::int64_t day = CivilDate(year, monthOfYear, dayOfMonth).dayNumber();
            if (day >= fromDay && day <= toDay && !visit(day))
                return;
        }
    }
    default:
        return;
    }
}

std::int64_t RecurrenceSchedule::nthDay(std::int64_t n) const
{
    std::int64_t found = -1;
    if (n < 1)
        return found;
    std::int64_t seen = 0;
    visitDays(m_pattern.startDay(), device::kLastDayNumber, [&](std::int64_t day) {
        if (++seen < n)
            return true;
        found = day;
        return false;
    });
    return found;
}

std::int64_t RecurrenceSchedule::countThrough(std::int64_t lastDay) const
{
    std::int64_t count = 0;
    visitDays(m_pattern.startDay(), lastDay, [&](std::int64_t) {
        ++count;
        return true;
    });
    return count;
}

} // namespace pim
