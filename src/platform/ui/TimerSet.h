#pragma once
// The windows' timers: (window, id) → interval and the time it is next due. Setting a timer that
// exists restarts it with the new interval, as on the handheld. A timer fires at most once per
// turn of the loop and is then due one interval after it fired, so a loop that was busy for a
// while sees one WM_TIMER, not a burst.

#include "platform/ui/WindowHandle.h"

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace ui {

class TimerSet {
public:
    void set(WindowHandle window, unsigned id, unsigned intervalMs, std::uint64_t now);
    bool kill(WindowHandle window, unsigned id);
    void killAll(WindowHandle window);
    bool has(WindowHandle window, unsigned id) const;

    // The earliest due time of any timer.
    std::optional<std::uint64_t> nextDue() const;
    // Takes the timer that is due first at `now` and schedules its next turn.
    std::optional<std::pair<WindowHandle, unsigned>> takeDue(std::uint64_t now);

private:
    struct Timer {
        unsigned interval = 0;
        std::uint64_t due = 0;
        std::uint64_t order = 0; // setting order breaks ties between timers due at once
    };
    using Key = std::pair<std::uint32_t, unsigned>;
    std::map<Key, Timer> m_timers;
    std::uint64_t m_nextOrder = 0;
};

} // namespace ui
