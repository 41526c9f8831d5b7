#pragma once
// Automation dates, the handheld's date-time number: days since 30 December 1899 00:00 as a
// double, the fraction being the time of day. Before that day the number is negative, and then
// only its whole part counts backwards: -1.25 is 29 December 1899 at 06:00, because the fraction
// still runs forward from that day's midnight. So the numbers do not lie in time order below 0;
// whatever compares or adds dates first maps them onto the true time line, where they do.
//
// Representable: 1 January 100 00:00:00 to 31 December 9999 23:59:59.

#include "platform/device/SystemTime.h"

#include <cstdint>
#include <optional>

namespace device {

constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr std::int64_t kMillisecondsPerDay = 86'400'000;
constexpr std::int64_t kFirstDayNumber = -657'434; // 1 January 100
constexpr std::int64_t kLastDayNumber = 2'958'465; // 31 December 9999
constexpr int kFirstYear = 100;
constexpr int kLastYear = 9999;

// The handheld's VariantTimeToSystemTime: rounds to the nearest second (milliseconds 0) and fills
// in the day of week. False for a number that is not finite or falls outside years 100-9999.
bool variantTimeToSystemTime(double date, SystemTime& out);

// The handheld's SystemTimeToVariantTime: false unless year 100-9999, month 1-12, a day of that
// month, hour 0-23, minute and second 0-59. The day of week is not read, and neither are the
// milliseconds: the conversion works to the second, like its inverse.
bool systemTimeToVariantTime(const SystemTime& time, double& out);

// --- The true time line ---------------------------------------------------------------------

// The instant as days since 30 December 1899 00:00, in time order on both sides of it.
double variantTimeToLinear(double date);

// The instant in whole milliseconds on the true time line (nearest millisecond); nothing for a
// number that is not finite or lies far outside the representable years.
std::optional<std::int64_t> variantTimeToMilliseconds(double date);

// The automation date of an instant in milliseconds on the true time line. Every date the
// platform builds goes through here, so one instant always gets the same, bit-identical number.
double millisecondsToVariantTime(std::int64_t milliseconds);

// The automation date of a day number and a time of day in seconds (0 to 86399).
double composeVariantTime(std::int64_t dayNumber, std::int64_t secondOfDay);

// True when the instant (milliseconds on the true time line), rounded to the second, lies within
// years 100-9999.
bool isRepresentableMilliseconds(std::int64_t milliseconds);

} // namespace device
