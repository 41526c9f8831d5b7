#include "platform/device/VariantTime.h"

#include "platform/device/CivilDate.h"

#include <cmath>

namespace device {

namespace {

// A generous bound that keeps every later integer conversion far from overflow; the precise
// range check is made on the converted day number.
constexpr double kSaneMagnitude = 10'000'000.0;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

bool isSane(double date)
{
    return std::isfinite(date) && std::fabs(date) < kSaneMagnitude;
}

// Splits an automation date into its day (the whole part, toward zero) and its time of day (the
// size of the fraction, whatever the sign). Both parts are exact.
void split(double date, std::int64_t& day, double& timeOfDay)
{
    const double whole = std::trunc(date);
    day = std::int64_t(whole);
    timeOfDay = std::fabs(date - whole);
}

} // namespace

bool variantTimeToSystemTime(double date, SystemTime& out)
{
    if (!isSane(date))
        return false;
    std::int64_t day = 0;
    double timeOfDay = 0;
    split(date, day, timeOfDay);
    // Rounding on the true time line carries 23:59:59.6 into the next day's midnight.
    const std::int64_t totalSeconds = day * kSecondsPerDay + std::llround(timeOfDay * double(kSecondsPerDay));
    const std::int64_t dayNumber = floorDiv(totalSeconds, kSecondsPerDay);
    if (dayNumber < kFirstDayNumber || dayNumber > kLastDayNumber)
        return false;
    const std::int64_t secondOfDay = totalSeconds - dayNumber * kSecondsPerDay;
    const CivilDate civil = CivilDate::fromDayNumber(dayNumber);

    SystemTime time;
    time.year = std::uint16_t(civil.year());
    time.month = std::uint16_t(civil.month());
    time.day = std::uint16_t(civil.day());
    time.dayOfWeek = std::uint16_t(CivilDate::dayOfWeek(dayNumber));
    time.hour = std::uint16_t(secondOfDay / 3600);
    time.minute = std::uint16_t(secondOfDay / 60 % 60);
    time.second = std::uint16_t(secondOfDay % 60);
    time.milliseconds = 0;
    out = time;
    return true;
}

bool systemTimeToVariantTime(const SystemTime& time, double& out)
{
    if (time.year < kFirstYear || time.year > kLastYear)
        return false;
    const CivilDate civil(time.year, time.month, time.day);
    if (!civil.isValid() || time.hour > 23 || time.minute > 59 || time.second > 59)
        return false;
    out = composeVariantTime(civil.dayNumber(), std::int64_t(time.hour) * 3600 + time.minute * 60 + time.second);
    return true;
}

double variantTimeToLinear(double date)
{
    if (!std::isfinite(date))
        return date;
    const double whole = std::trunc(date);
    return whole + std::fabs(date - whole);
}

std::optional<std::int64_t> variantTimeToMilliseconds(double date)
{
    if (!isSane(date))
        return std::nullopt;
    std::int64_t day = 0;
    double timeOfDay = 0;
    split(date, day, timeOfDay);
    return day * kMillisecondsPerDay + std::llround(timeOfDay * double(kMillisecondsPerDay));
}

double millisecondsToVariantTime(std::int64_t milliseconds)
{
    const std::int64_t day = floorDiv(milliseconds, kMillisecondsPerDay);
    if (day >= 0)
        return double(milliseconds) / double(kMillisecondsPerDay);
    // Before day 0 the whole part counts back and the fraction forward: day - timeOfDay. Both are
    // folded into one exact integer numerator so that the division rounds only once.
    const std::int64_t intoDay = milliseconds - day * kMillisecondsPerDay;
    return double(day * kMillisecondsPerDay - intoDay) / double(kMillisecondsPerDay);
}

double composeVariantTime(std::int64_t dayNumber, std::int64_t secondOfDay)
{
    return millisecondsToVariantTime(dayNumber * kMillisecondsPerDay + secondOfDay * 1000);
}

bool isRepresentableMilliseconds(std::int64_t milliseconds)
{
    // Judged at the nearest second, as the record conversion rounds: 31 December 9999 23:59:59.7
    // would become a year 10000.
    const std::int64_t nearestSecond = floorDiv(milliseconds + 500, 1000);
    const std::int64_t day = floorDiv(nearestSecond, kSecondsPerDay);
    return day >= kFirstDayNumber && day <= kLastDayNumber;
}

} // namespace device
