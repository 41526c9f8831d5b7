#pragma once
// The tap-and-hold recogniser: the pen goes down on a window that wants the gesture and stays
// within a few pixels of that point for half a second. Then the gesture fires once; the pen-up that
// follows belongs to the gesture and is no tap.

#include "platform/gfx/Point.h"
#include "platform/ui/WindowHandle.h"

#include <cstdint>
#include <optional>

namespace ui {

class HoldGesture {
public:
    static constexpr unsigned holdMs = 500;
    // The pen may wander this many pixels in x and in y from where it went down.
    static constexpr int tolerance = 5;

    void start(WindowHandle target, gfx::Point screenPoint, std::uint64_t now);
    // A pen move; leaving the tolerance ends the chance of a hold for this pen-down.
    void move(gfx::Point screenPoint);
    void reset();
    void markFired() { m_state = State::Fired; }

    bool isWatching() const { return m_state == State::Watching; }
    bool hasFired() const { return m_state == State::Fired; }
    std::optional<std::uint64_t> deadline() const;
    bool isDue(std::uint64_t now) const { return isWatching() && now >= m_deadline; }
    WindowHandle target() const { return m_target; }
    gfx::Point origin() const { return m_origin; }

private:
    enum class State { Idle, Watching, Fired };
    State m_state = State::Idle;
    WindowHandle m_target;
    gfx::Point m_origin;
    std::uint64_t m_deadline = 0;
};

} // namespace ui
