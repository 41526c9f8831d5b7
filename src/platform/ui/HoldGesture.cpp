#include "platform/ui/HoldGesture.h"

#include <cstdlib>

namespace ui {

void HoldGesture::start(WindowHandle target, gfx::Point screenPoint, std::uint64_t now)
{
    m_state = State::Watching;
    m_target = target;
    m_origin = screenPoint;
    m_deadline = now + holdMs;
}

void HoldGesture::move(gfx::Point screenPoint)
{
    if (m_state != State::Watching)
        return;
    if (std::abs(screenPoint.x - m_origin.x) > tolerance || std::abs(screenPoint.y - m_origin.y) > tolerance)
        m_state = State::Idle;
}

void HoldGesture::reset()
{
    m_state = State::Idle;
    m_target = {};
}

std::optional<std::uint64_t> HoldGesture::deadline() const
{
    if (m_state != State::Watching)
        return std::nullopt;
    return m_deadline;
}

} // namespace ui
