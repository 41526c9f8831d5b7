#include "platform/ui/ScrollBar.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

void ScrollBar::setRange(int total, int visible)
{
    m_total = std::max(0, total);
    m_visible = std::max(1, visible);
    setPosition(m_position);
}

bool ScrollBar::setPosition(int position)
{
    int clamped = std::clamp(position, 0, maximum());
    if (clamped == m_position)
        return false;
    m_position = clamped;
    return true;
}

gfx::Rect ScrollBar::upArrow() const { return {m_rect.left, m_rect.top, m_rect.right, m_rect.top + width}; }
gfx::Rect ScrollBar::downArrow() const { return {m_rect.left, m_rect.bottom - width, m_rect.right, m_rect.bottom}; }

gfx::Rect ScrollBar::thumb() const
{
    int trackTop = m_rect.top + width, trackHeight = m_rect.height() - 2 * width;
    if (trackHeight <= 0 || m_total <= 0)
        return {};
    int height = std::max(8, trackHeight * m_visible / std::max(m_total, 1));
    height = std::min(height, trackHeight);
    int range = maximum();
    int top = trackTop + (range > 0 ? (trackHeight - height) * m_position / range : 0);
    return {m_rect.left, top, m_rect.right, top + height};
}

void ScrollBar::paint(gfx::Painter& painter) const
{
    painter.fillRect(m_rect, theme::window);
    painter.fillRect({m_rect.left, m_rect.top, m_rect.left + 1, m_rect.bottom}, theme::shadow);
    auto arrow = [&](const gfx::Rect& box, bool up) {
        painter.fillRect(box.inflated(-1, -1).translated(1, 0).intersected(box), theme::face);
        int cx = box.left + box.width() / 2, cy = box.top + box.height() / 2;
        for (int row = 0; row < 4; ++row) {
            int y = up ? cy - 2 + row : cy + 1 - row;
            painter.fillRect({cx - row, y, cx + row + 1, y + 1}, theme::text);
        }
    };
    arrow(upArrow(), true);
    arrow(downArrow(), false);
    if (gfx::Rect box = thumb(); !box.isEmpty()) {
        painter.fillRect({box.left + 2, box.top + 1, box.right - 1, box.bottom - 1}, theme::face);
        painter.selectPen(gfx::Pen::solid(theme::shadow));
        painter.selectBrush(gfx::Brush::null());
        painter.rectangle({box.left + 1, box.top, box.right, box.bottom});
    }
}

bool ScrollBar::penDown(gfx::Point point)
{
    m_held = m_rect.contains(point) && isNeeded();
    if (!m_held)
        return false;
    if (upArrow().contains(point))
        return setPosition(m_position - 1);
    if (downArrow().contains(point))
        return setPosition(m_position + 1);
    gfx::Rect box = thumb();
    if (box.contains(point)) {
        m_dragging = true;
        m_dragOffset = point.y - box.top;
        return false;
    }
    return setPosition(point.y < box.top ? m_position - m_visible : m_position + m_visible);
}

bool ScrollBar::penUp()
{
    const bool wasHeld = m_held;
    m_held = false;
    m_dragging = false;
    return wasHeld;
}

bool ScrollBar::penMove(gfx::Point point)
{
    if (!m_dragging)
        return false;
    int trackTop = m_rect.top + width, trackHeight = m_rect.height() - 2 * width;
    int free = trackHeight - thumb().height();
    if (free <= 0)
        return false;
    int top = point.y - m_dragOffset - trackTop;
    return setPosition((top * maximum() + free / 2) / free);
}

} // namespace ui
