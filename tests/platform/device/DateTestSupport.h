#pragma once
// Shared helpers of the date tests: a readable form of automation dates, and a pinned device clock
// that is released when the test ends.

#include "PinnedClock.h"
#include "platform/device/DeviceClock.h"
#include "platform/device/VariantTime.h"

#include <cstdio>
#include <string>

namespace date_test {

// "2026-12-08 15:45:00 Tue" for a date, "(no date)" for a number that converts to none.
inline std::string describe(double date)
{
    static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    device::SystemTime t;
    if (!device::variantTimeToSystemTime(date, t))
        return "(no date)";
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u %s", unsigned(t.year), unsigned(t.month),
                  unsigned(t.day), unsigned(t.hour), unsigned(t.minute), unsigned(t.second),
                  kWeekdays[t.dayOfWeek % 7]);
    return text;
}

using testing_support::localTime;
using testing_support::PinnedClock;

} // namespace date_test
