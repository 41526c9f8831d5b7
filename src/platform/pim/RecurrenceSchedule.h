#pragma once
// The days a recurrence pattern falls on. The schedule jumps straight to the first period (day,
// week, month or year) that can reach the asked range, so finding the occurrences of one month in
// a series that began decades ago costs as much as in one that began last week.

#include "platform/pim/RecurrencePattern.h"

#include <cstdint>
#include <functional>

namespace pim {

class RecurrenceSchedule {
public:
    // `pattern` should be valid (RecurrencePattern::validate); zero fields are resolved here.
    explicit RecurrenceSchedule(const RecurrencePattern& pattern);

    // Calls `visit` with each occurrence day in [fromDay, toDay], in order, until it returns false.
    // Days before the pattern's start, after its end and after 31 December 9999 are never visited.
    void forEachDay(std::int64_t fromDay, std::int64_t toDay, const std::function<bool(std::int64_t)>& visit) const;

    // The day of occurrence number `n` (from 1), or -1 past 31 December 9999.
    std::int64_t nthDay(std::int64_t n) const;
    // How many occurrences fall on or before `lastDay`, counted from the start.
    std::int64_t countThrough(std::int64_t lastDay) const;

private:
    // As forEachDay, without the pattern's end.
    void visitDays(std::int64_t fromDay, std::int64_t toDay, const std::function<bool(std::int64_t)>& visit) const;
    // The day in month (year, month) that a monthly or yearly pattern falls on.
    int dayInMonth(std::int64_t year, int month) const;

    RecurrencePattern m_pattern;
    std::int64_t m_endDay;
};

} // namespace pim
