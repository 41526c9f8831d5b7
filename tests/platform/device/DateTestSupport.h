#pragma once
// Shared helpers of the date tests: a readable form of automation dates, and a pinned device clock
// that is released when the test ends.

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

inline device::SystemTime record(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                                 int milliseconds = 0)
{
    device::SystemTime t;
    t.year = std::uint16_t(year);
    t.month = std::uint16_t(month);
    t.day = std::uint16_t(day);
    t.hour = std::uint16_t(hour);
    t.minute = std::uint16_t(minute);
    t.second = std::uint16_t(second);
    t.milliseconds = std::uint16_t(milliseconds);
    return t;
}

// Pins the device clock for the lifetime of the object.
class PinnedClock {
public:
    explicit PinnedClock(const device::SystemTime& start,
                         device::DeviceClock::Flow flow = device::DeviceClock::Flow::Frozen)
    {
        device::DeviceClock::setForTesting(start, flow);
    }
    ~PinnedClock() { device::DeviceClock::resetForTesting(); }
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;
};

} // namespace date_test
