#include "platform/device/CivilDate.h"

namespace device {

namespace {

// Day number of 1 January 1970 counted from 30 December 1899.
constexpr std::int64_t kUnixEpochDayNumber = 25569;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days since 1 January 1970 of a proleptic Gregorian date, counting years from March so that the
// leap day falls at the end of the counted year (the well-known era/day-of-era method).
std::int64_t daysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

bool CivilDate::isLeapYear(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int CivilDate::daysInMonth(std::int64_t year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

int CivilDate::dayOfWeek(std::int64_t dayNumber)
{
    return int(((dayNumber % 7) + 7 + 6) % 7);
}

bool CivilDate::isValid() const
{
    return m_month >= 1 && m_month <= 12 && m_day >= 1 && m_day <= daysInMonth(m_year, m_month);
}

std::int64_t CivilDate::dayNumber() const
{
    return daysFromCivil(m_year, m_month, m_day) + kUnixEpochDayNumber;
}

int CivilDate::dayOfYear() const
{
    return int(dayNumber() - CivilDate(m_year, 1, 1).dayNumber()) + 1;
}

CivilDate CivilDate::fromDayNumber(std::int64_t dayNumber)
{
    const std::int64_t z = dayNumber - kUnixEpochDayNumber + 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return CivilDate(year, month, day);
}

} // namespace device
