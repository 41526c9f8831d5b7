#pragma once
// A headless desktop on virtual time for one test, with the device clock pinned (the navigation
// bar shows it).

#include "PinnedClock.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"

#include <gtest/gtest.h>

#include <memory>

namespace ui::testing {

// The time the navigation bar's clock shows in these tests: Tuesday, 8 December 2026, 3:45 PM.
inline device::SystemTime pinnedTime() { return testing_support::localTime(2026, 12, 8, 15, 45); }

class DesktopTest : public ::testing::Test {
protected:
    DesktopTest() : desktop(std::make_unique<HeadlessBackend>(), TimeSource::makeVirtual()) {}

    testing_support::PinnedClock clock{pinnedTime()};
    Desktop desktop;
};

} // namespace ui::testing
