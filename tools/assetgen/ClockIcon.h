#pragma once
// The clock icons of timed events: a round face showing the start time to the quarter hour on a
// twelve-hour dial. The minute hand points at the quarter, the hour hand moves on between the
// hours with it, so all 48 faces differ.

#include "platform/gfx/Surface.h"

namespace assetgen {

class ClockIcon {
public:
    static constexpr int size = 16;
    // index = hour × 4 + quarter, hour 0 to 11 (0 is twelve o'clock), quarter 0 to 3.
    static gfx::Surface draw(int index);
};

} // namespace assetgen
