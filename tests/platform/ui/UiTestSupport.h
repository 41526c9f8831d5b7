#pragma once
// A headless desktop on virtual time for one test, with the device clock pinned (the navigation
// bar shows it).

#include "platform/device/DeviceClock.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <memory>

namespace ui::testing {

inline device::SystemTime pinnedTime()
{
    device::SystemTime time;
    time.year = 2026;
    time.month = 12;
    time.day = 8;
    time.dayOfWeek = 2;
    time.hour = 15;
    time.minute = 45;
    return time;
}

class ClockPin {
public:
    ClockPin() { device::DeviceClock::setForTesting(pinnedTime(), device::DeviceClock::Flow::Frozen); }
    ~ClockPin() { device::DeviceClock::resetForTesting(); }
};

class DesktopTest : public ::testing::Test {
protected:
    DesktopTest() : desktop(std::make_unique<HeadlessBackend>(), TimeSource::makeVirtual()) {}

    ClockPin clock;
    Desktop desktop;
};

} // namespace ui::testing
