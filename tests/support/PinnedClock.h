#pragma once
// The device clock pinned at a local time for as long as a test needs it. Tests that draw the
// navigation bar, compare "today" or write stamped lines need one fixed "now".

#include "platform/device/DeviceClock.h"
#include "platform/device/SystemTime.h"

#include <cstdint>

namespace testing_support {

// A local date-time record; the clock works out the weekday itself.
inline device::SystemTime localTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
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

// Pins the device clock for the lifetime of the object, frozen unless asked to run on.
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

} // namespace testing_support
