#include "platform/ui/Slider.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

void Slider::setRange(int minimum, int maximum)
{
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
    setPosition(m_position);
}

void Slider::setPosition(int position)
{
    int clamped = std::clamp(position, m_minimum, m_maximum);
    if (clamped == m_position)
        return;
    m_position = clamped;
    invalidate();
}

gfx::Rect Slider::track() const
{
    gfx::Rect box = clientRect();
    return {box.left + thumbWidth / 2 + 2, 0, box.right - thumbWidth / 2 - 2, box.bottom};
}

int Slider::xOf(int position) const
{
    gfx::Rect line = track();
    int span = m_maximum - m_minimum;
    return line.left + (span > 0 ? (line.width() * (position - m_minimum) + span / 2) / span : 0);
}

int Slider::positionAt(int x) const
{
    gfx::Rect line = track();
    int span = m_maximum - m_minimum;
    if (line.width() <= 0 || span <= 0)
        return m_minimum;
    int offset = std::clamp(x - line.left, 0, line.width());
    return m_minimum + (offset * span + line.width() / 2) / line.width();
}

gfx::Rect Slider::thumbRect() const
{
    int x = xOf(m_position);
    int height = std::min(rect().height() - 2, 20);
    int top = (rect().height() - height) / 2;
    return {x - thumbWidth / 2, top, x - thumbWidth / 2 + thumbWidth, top + height};
}

void Slider::notifyScroll(int code)
{
    if (Window* owner = parent())
        owner->send(WM_HSCROLL, MAKEWPARAM(unsigned(code), unsigned(m_position)), LParam(handle().value));
}

void Slider::changeTo(int position, int code)
{
    int clamped = std::clamp(position, m_minimum, m_maximum);
    if (clamped == m_position)
        return;
    m_position = clamped;
    invalidate();
    notifyScroll(code);
}

void Slider::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    painter.fillRect(box, parent() ? parent()->background() : theme::window);
    gfx::Rect line = track();
    int cy = box.height() / 2;
    painter.fillRect({line.left - 2, cy - 2, line.right + 2, cy + 2}, theme::shadow);
    painter.fillRect({line.left - 1, cy - 1, line.right + 1, cy + 1}, theme::window);
    // Ticks at the ends and the middle.
    for (int position : {m_minimum, (m_minimum + m_maximum) / 2, m_maximum}) {
        int x = xOf(position);
        painter.fillRect({x, box.bottom - 3, x + 1, box.bottom}, theme::text);
    }
    gfx::Rect thumb = thumbRect();
    painter.selectPen(gfx::Pen::solid(isEnabledInChain() ? theme::frameLine : theme::grayText));
    painter.selectBrush(gfx::Brush::solid(m_dragging ? theme::shadow : theme::face));
    painter.rectangle(thumb);
    if (hasFocus())
        painter.fillRect({thumb.left + 3, thumb.top + 3, thumb.right - 3, thumb.bottom - 3}, theme::highlight);
}

void Slider::onPenDown(gfx::Point point)
{
    gfx::Rect thumb = thumbRect();
    if (thumb.inflated(2, 0).contains(point)) {
        m_dragging = true;
        m_dragOffset = point.x - xOf(m_position);
        invalidate();
        return;
    }
    if (point.x < thumb.left)
        changeTo(m_position - m_page, TB_PAGEUP);
    else
        changeTo(m_position + m_page, TB_PAGEDOWN);
    notifyScroll(TB_ENDTRACK);
}

void Slider::onPenMove(gfx::Point point)
{
    if (m_dragging)
        changeTo(positionAt(point.x - m_dragOffset), TB_THUMBTRACK);
}

void Slider::onPenUp(gfx::Point point)
{
    if (!m_dragging)
        return;
    changeTo(positionAt(point.x - m_dragOffset), TB_THUMBTRACK);
    m_dragging = false;
    invalidate();
    notifyScroll(TB_THUMBPOSITION);
    notifyScroll(TB_ENDTRACK);
}

void Slider::onCancelMode()
{
    if (m_dragging) {
        m_dragging = false;
        invalidate();
        notifyScroll(TB_ENDTRACK);
    }
}

bool Slider::onKeyDown(int virtualKey)
{
    switch (virtualKey) {
    case VK_LEFT:
    case VK_UP:
        changeTo(m_position - 1, TB_LINEUP);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        changeTo(m_position + 1, TB_LINEDOWN);
        break;
    case VK_PRIOR:
        changeTo(m_position - m_page, TB_PAGEUP);
        break;
    case VK_NEXT:
        changeTo(m_position + m_page, TB_PAGEDOWN);
        break;
    case VK_HOME:
        changeTo(m_minimum, TB_TOP);
        break;
    case VK_END:
        changeTo(m_maximum, TB_BOTTOM);
        break;
    default:
        return false;
    }
    notifyScroll(TB_ENDTRACK);
    return true;
}

} // namespace ui
