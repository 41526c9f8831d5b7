#pragma once
// A day of the proleptic Gregorian calendar, the one the automation dates count in for every year
// from 100 to 9999. Days are numbered from 30 December 1899 (day 0), the automation-date epoch.
// Years are wide integers so that range checks can be made after the arithmetic, not before it.

#include <cstdint>

namespace device {

class CivilDate {
public:
    CivilDate() = default;
    CivilDate(std::int64_t year, int month, int day) : m_year(year), m_month(month), m_day(day) {}

    static CivilDate fromDayNumber(std::int64_t dayNumber);

    static bool isLeapYear(std::int64_t year);
    static int daysInMonth(std::int64_t year, int month); // 0 for a month outside 1-12
    // 0 = Sunday ... 6 = Saturday; day 0 was a Saturday.
    static int dayOfWeek(std::int64_t dayNumber);

    std::int64_t year() const { return m_year; }
    int month() const { return m_month; }
    int day() const { return m_day; }

    // Month 1-12 and a day that exists in that month of that year.
    bool isValid() const;
    // Days since 30 December 1899 (negative before it). Only meaningful for a valid date.
    std::int64_t dayNumber() const;
    // 1 for 1 January.
    int dayOfYear() const;

    friend bool operator==(const CivilDate&, const CivilDate&) = default;

private:
    std::int64_t m_year = 1899;
    int m_month = 12;
    int m_day = 30;
};

} // namespace device
