#pragma once
// CTavrelTapTracker: tells a tap from a drag or a press. A tap is a pen-down followed by its
// pen-up less than a second later, less than 10 pixels away (|dx| + |dy|). Every pen-up ends the
// pen's chance in any case, and so does a tap-and-hold that takes the pen away.

#include "platform/gfx/Point.h"

#include <cstdint>
#include <optional>

class CTavrelTapTracker {
public:
    static constexpr std::uint32_t LimitMs = 1000;
    static constexpr int LimitDistance = 10;

    // `tick` is the milliseconds tick count (it may wrap).
    void PenDown(std::uint32_t tick, gfx::Point point);
    // True when this pen-up completes a tap.
    bool PenUp(std::uint32_t tick, gfx::Point point);
    void Cancel() { m_down.reset(); }
    bool IsPenDown() const { return m_down.has_value(); }

private:
    struct Down {
        std::uint32_t tick;
        gfx::Point point;
    };
    std::optional<Down> m_down;
};
