#include "views/TavrelTapTracker.h"

#include <cstdlib>

void CTavrelTapTracker::PenDown(std::uint32_t tick, gfx::Point point) { m_down = Down{tick, point}; }

bool CTavrelTapTracker::PenUp(std::uint32_t tick, gfx::Point point)
{
    if (!m_down)
        return false;
    const Down down = *m_down;
    m_down.reset();
    const std::uint32_t elapsed = tick - down.tick; // unsigned: right across a wrap of the count
    const int distance = std::abs(point.x - down.point.x) + std::abs(point.y - down.point.y);
    return elapsed < LimitMs && distance < LimitDistance;
}
