#include "platform/ui/TimerSet.h"

#include <algorithm>

namespace ui {

void TimerSet::set(WindowHandle window, unsigned id, unsigned intervalMs, std::uint64_t now)
{
    // An interval of 0 would fire on every turn of the loop; the handheld raises it to its minimum.
    unsigned interval = std::max(intervalMs, 1u);
    m_timers[{window.value, id}] = Timer{interval, now + interval, m_nextOrder++};
}

bool TimerSet::kill(WindowHandle window, unsigned id) { return m_timers.erase({window.value, id}) > 0; }

void TimerSet::killAll(WindowHandle window)
{
    std::erase_if(m_timers, [&](const auto& entry) { return entry.first.first == window.value; });
}

bool TimerSet::has(WindowHandle window, unsigned id) const { return m_timers.contains({window.value, id}); }

std::optional<std::uint64_t> TimerSet::nextDue() const
{
    std::optional<std::uint64_t> earliest;
    for (const auto& [key, timer] : m_timers)
        if (!earliest || timer.due < *earliest)
            earliest = timer.due;
    return earliest;
}

std::optional<std::pair<WindowHandle, unsigned>> TimerSet::takeDue(std::uint64_t now)
{
    auto chosen = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (it->second.due > now)
            continue;
        if (chosen == m_timers.end() || it->second.due < chosen->second.due
            || (it->second.due == chosen->second.due && it->second.order < chosen->second.order))
            chosen = it;
    }
    if (chosen == m_timers.end())
        return std::nullopt;
    chosen->second.due = now + chosen->second.interval;
    chosen->second.order = m_nextOrder++;
    return std::pair{WindowHandle{chosen->first.first}, chosen->first.second};
}

} // namespace ui
