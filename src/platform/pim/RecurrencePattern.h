#pragma once
// How an appointment repeats, with the handheld object model's fields.
//
// A field left at 0 follows the appointment's start until the appointment is saved: a weekly
// pattern repeats on the start's weekday, a monthly one on the start's day, a yearly one on the
// start's month and day, an n-th-weekday one on the start's weekday and week of the month. Saving
// writes these resolved values, so a later change of the start no longer moves them.
//
// The pattern ends in one of three ways, the last one set winning: never (setNoEndDate(true), the
// default), on a date (setPatternEndDate: the last day an occurrence may fall on), or after a
// number of occurrences (setOccurrences). Each way reports the others' values too: a pattern
// ending after 10 occurrences has the date of the 10th as its end date, and one ending on a date
// counts the occurrences up to it.
//
// Day of the month beyond a month's length means the month's last day (the 31st is the 30th in
// April, February 29 is February 28 in common years). Instance 5 means the last such weekday.
// The interval counts days, weeks, months or years by type.

#include "platform/device/OleDateTime.h"
#include "platform/pim/Error.h"

#include <cstdint>
#include <vector>

namespace pim {

class RecurrencePattern {
public:
    enum class EndKind { NoEnd, EndDate, Count };

    // A weekly pattern without end, every field following the start.
    explicit RecurrencePattern(std::int64_t startDay = 0) : m_startDay(startDay) {}

    int recurrenceType() const { return m_type; }
    void setRecurrenceType(int type) { m_type = type; forgetDerived(); }
    int interval() const { return m_interval; }
    void setInterval(int interval) { m_interval = interval; forgetDerived(); }
    // Sunday 1, Monday 2 ... Saturday 64.
    int dayOfWeekMask() const;
    void setDayOfWeekMask(int mask) { m_dayOfWeekMask = mask; forgetDerived(); }
    int dayOfMonth() const;
    void setDayOfMonth(int day) { m_dayOfMonth = day; forgetDerived(); }
    // 1-4, or 5 for the last.
    int instance() const;
    void setInstance(int instance) { m_instance = instance; forgetDerived(); }
    int monthOfYear() const;
    void setMonthOfYear(int month) { m_monthOfYear = month; forgetDerived(); }

    // The day of the appointment's start (midnight).
    device::OleDateTime patternStartDate() const;

    EndKind endKind() const { return m_endKind; }
    bool noEndDate() const { return m_endKind == EndKind::NoEnd; }
    // true ends nothing; false on its own changes nothing (set an end date or a count instead).
    void setNoEndDate(bool noEnd);
    // Midnight of the last day an occurrence may fall on; a null date-time when the pattern has
    // no end.
    device::OleDateTime patternEndDate() const;
    // The time of day is ignored. False (and nothing changes) for a date-time that is not valid.
    bool setPatternEndDate(const device::OleDateTime& date);
    // The number of occurrences; 0 when the pattern has no end.
    int occurrences() const;
    void setOccurrences(int count);

    // Deleted occurrences (the series' exceptions): the days on which the pattern falls but the
    // series does not take place. They do not change the pattern's end: a series of 10
    // occurrences with one deleted shows 9. A day the pattern does not fall on changes nothing.
    bool deleteOccurrence(const device::OleDateTime& date); // false for a date-time that is not valid
    void deleteOccurrenceOn(std::int64_t day);
    bool isDeletedOccurrence(std::int64_t day) const;
    // In order, each day once.
    const std::vector<std::int64_t>& deletedOccurrences() const { return m_deletedDays; }
    void clearDeletedOccurrences() { m_deletedDays.clear(); }

    // InvalidRecurrence when a field the type uses is out of range, or the pattern would end
    // before its first occurrence.
    Error validate() const;

    // --- For the store and the schedule -------------------------------------------------------
    std::int64_t startDay() const { return m_startDay; }
    void setStartDay(std::int64_t day) { m_startDay = day; forgetDerived(); }
    // The last day an occurrence may fall on, for every kind of end but NoEnd.
    std::int64_t endDay() const;
    // The raw values (0 = follows the start), and a copy with every such value resolved.
    int rawDayOfWeekMask() const { return m_dayOfWeekMask; }
    int rawDayOfMonth() const { return m_dayOfMonth; }
    int rawInstance() const { return m_instance; }
    int rawMonthOfYear() const { return m_monthOfYear; }
    int rawOccurrences() const { return m_occurrences; }
    std::int64_t rawEndDay() const { return m_endDay; }
    RecurrencePattern resolved() const;
    // The store hands over what it saved with the pattern, so that a loaded pattern need not
    // count its occurrences again.
    void setDerivedEnd(std::int64_t endDay, int occurrences) const;

private:
    void forgetDerived() const { m_hasDerived = false; }
    void deriveEnd() const;

    std::int64_t m_startDay;
    int m_type = 1; // olRecursWeekly
    int m_interval = 1;
    int m_dayOfWeekMask = 0;
    int m_dayOfMonth = 0;
    int m_instance = 0;
    int m_monthOfYear = 0;
    EndKind m_endKind = EndKind::NoEnd;
    std::int64_t m_endDay = 0;
    int m_occurrences = 0;
    std::vector<std::int64_t> m_deletedDays; // sorted, unique
    // What the other kinds of end work out to, counted on first use; every setter forgets them.
    mutable std::int64_t m_derivedEndDay = 0;
    mutable int m_derivedOccurrences = 0;
    mutable bool m_hasDerived = false;
};

} // namespace pim
