#include "platform/pim/RecurrencePattern.h"

#include "platform/device/CivilDate.h"
#include "platform/device/VariantTime.h"
#include "platform/pim/Constants.h"
#include "platform/pim/RecurrenceSchedule.h"
#include "platform/pim/TimeLine.h"

#include <algorithm>

namespace pim {

namespace {

using device::CivilDate;

constexpr int kMaxInterval = 999;

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

} // namespace

int RecurrencePattern::dayOfWeekMask() const
{
    return m_dayOfWeekMask != 0 ? m_dayOfWeekMask : 1 << CivilDate::dayOfWeek(m_startDay);
}

int RecurrencePattern::dayOfMonth() const
{
    return m_dayOfMonth != 0 ? m_dayOfMonth : CivilDate::fromDayNumber(m_startDay).day();
}

int RecurrencePattern::instance() const
{
    return m_instance != 0 ? m_instance : (CivilDate::fromDayNumber(m_startDay).day() - 1) / 7 + 1;
}

int RecurrencePattern::monthOfYear() const
{
    return m_monthOfYear != 0 ? m_monthOfYear : CivilDate::fromDayNumber(m_startDay).month();
}

device::OleDateTime RecurrencePattern::patternStartDate() const
{
    return TimeLine::toDateTime(TimeLine::midnightOf(m_startDay));
}

void RecurrencePattern::setNoEndDate(bool noEnd)
{
    if (noEnd) {
        m_endKind = EndKind::NoEnd;
        m_endDay = 0;
        m_occurrences = 0;
        forgetDerived();
    }
}

device::OleDateTime RecurrencePattern::patternEndDate() const
{
    if (m_endKind == EndKind::NoEnd) {
        device::OleDateTime none;
        none.SetStatus(device::OleDateTime::Status::Null);
        return none;
    }
    return TimeLine::toDateTime(TimeLine::midnightOf(endDay()));
}

bool RecurrencePattern::setPatternEndDate(const device::OleDateTime& date)
{
    std::optional<Milliseconds> instant = TimeLine::fromDateTime(date);
    if (!instant)
        return false;
    m_endKind = EndKind::EndDate;
    m_endDay = TimeLine::dayOf(*instant);
    m_occurrences = 0;
    forgetDerived();
    return true;
}

int RecurrencePattern::occurrences() const
{
    switch (m_endKind) {
    case EndKind::NoEnd: return 0;
    case EndKind::Count: return m_occurrences;
    case EndKind::EndDate:
        deriveEnd();
        return m_derivedOccurrences;
    }
    return 0;
}

void RecurrencePattern::setOccurrences(int count)
{
    m_endKind = EndKind::Count;
    m_occurrences = count;
    m_endDay = 0;
    forgetDerived();
}

std::int64_t RecurrencePattern::endDay() const
{
    switch (m_endKind) {
    case EndKind::NoEnd: return device::kLastDayNumber;
    case EndKind::EndDate: return m_endDay;
    case EndKind::Count:
        deriveEnd();
        return m_derivedEndDay;
    }
    return device::kLastDayNumber;
}

void RecurrencePattern::setDerivedEnd(std::int64_t endDay, int occurrences) const
{
    m_derivedEndDay = endDay;
    m_derivedOccurrences = occurrences;
    m_hasDerived = true;
}

void RecurrencePattern::deriveEnd() const
{
    if (m_hasDerived)
        return;
    m_derivedEndDay = m_endDay;
    m_derivedOccurrences = m_occurrences;
    if (validate() == Error::None) {
        // Counted on the endless series: the schedule of this one would ask for its end again.
        RecurrencePattern endless = *this;
        endless.setNoEndDate(true);
        const RecurrenceSchedule schedule(endless);
        if (m_endKind == EndKind::Count) {
            // A count that runs past 31 December 9999 ends there.
            const std::int64_t last = schedule.nthDay(m_occurrences);
            m_derivedEndDay = last >= 0 ? last : device::kLastDayNumber;
        } else if (m_endKind == EndKind::EndDate) {
            const std::int64_t count = schedule.countThrough(m_endDay);
            m_derivedOccurrences = count > 0x7FFFFFFF ? 0x7FFFFFFF : int(count);
        }
    }
    m_hasDerived = true;
}

bool RecurrencePattern::deleteOccurrence(const device::OleDateTime& date)
{
    std::optional<Milliseconds> instant = TimeLine::fromDateTime(date);
    if (!instant)
        return false;
    deleteOccurrenceOn(TimeLine::dayOf(*instant));
    return true;
}

void RecurrencePattern::deleteOccurrenceOn(std::int64_t day)
{
    const auto at = std::lower_bound(m_deletedDays.begin(), m_deletedDays.end(), day);
    if (at == m_deletedDays.end() || *at != day)
        m_deletedDays.insert(at, day);
}

bool RecurrencePattern::isDeletedOccurrence(std::int64_t day) const
{
    return std::binary_search(m_deletedDays.begin(), m_deletedDays.end(), day);
}

RecurrencePattern RecurrencePattern::resolved() const
{
    RecurrencePattern copy = *this;
    copy.m_dayOfWeekMask = dayOfWeekMask();
    copy.m_dayOfMonth = dayOfMonth();
    copy.m_instance = instance();
    copy.m_monthOfYear = monthOfYear();
    return copy;
}

Error RecurrencePattern::validate() const
{
    if (!inRange(m_interval, 1, kMaxInterval))
        return Error::InvalidRecurrence;
    const bool usesMask = m_type == olRecursWeekly || m_type == olRecursMonthNth || m_type == olRecursYearNth;
    const bool usesDay = m_type == olRecursMonthly || m_type == olRecursYearly;
    const bool usesInstance = m_type == olRecursMonthNth || m_type == olRecursYearNth;
    const bool usesMonth = m_type == olRecursYearly || m_type == olRecursYearNth;
    switch (m_type) {
    case olRecursDaily:
    case olRecursWeekly:
    case olRecursMonthly:
    case olRecursMonthNth:
    case olRecursYearly:
    case olRecursYearNth:
        break;
    default:
        return Error::InvalidRecurrence;
    }
    if ((usesMask && !inRange(dayOfWeekMask(), 1, 127)) || (usesDay && !inRange(dayOfMonth(), 1, 31)) ||
        (usesInstance && !inRange(instance(), 1, 5)) || (usesMonth && !inRange(monthOfYear(), 1, 12)))
        return Error::InvalidRecurrence;
    // A yearly date that no year has (April 31st, February 30th). February 29th is a date: it
    // falls on the 28th in common years.
    if (m_type == olRecursYearly && dayOfMonth() > CivilDate::daysInMonth(2000, monthOfYear()))
        return Error::InvalidRecurrence;
    if (m_endKind == EndKind::Count && m_occurrences < 1)
        return Error::InvalidRecurrence;
    if (m_endKind == EndKind::EndDate && m_endDay < m_startDay)
        return Error::InvalidRecurrence;
    return Error::None;
}

} // namespace pim
