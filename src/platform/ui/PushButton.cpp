#include "platform/ui/PushButton.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

namespace ui {

void PushButton::setDefault(bool isDefault)
{
    m_default = isDefault;
    invalidate();
}

void PushButton::click()
{
    if (isEnabledInChain())
        notifyParent(BN_CLICKED);
}

void PushButton::setPressed(bool pressed)
{
    if (pressed == m_pressed)
        return;
    m_pressed = pressed;
    invalidate();
}

void PushButton::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    painter.fillRect(box, parent() ? parent()->background() : theme::window);
    painter.selectPen(gfx::Pen::solid(theme::frameLine));
    painter.selectBrush(gfx::Brush::solid(m_pressed ? theme::frameLine : theme::window));
    painter.rectangle(box);
    if (m_default) {
        painter.selectBrush(gfx::Brush::null());
        painter.rectangle(box.inflated(-1, -1));
    }
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(!isEnabledInChain() ? theme::grayText : m_pressed ? theme::window : theme::text);
    painter.drawText(text(), box, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_HIDEPREFIX);
}

void PushButton::onPenDown(gfx::Point point)
{
    m_tracking = true;
    setPressed(true);
}

void PushButton::onPenMove(gfx::Point point)
{
    if (m_tracking)
        setPressed(clientRect().contains(point));
}

void PushButton::onPenUp(gfx::Point point)
{
    bool clicked = m_tracking && clientRect().contains(point);
    m_tracking = false;
    setPressed(false);
    if (clicked)
        click();
}

void PushButton::onCancelMode()
{
    m_tracking = false;
    setPressed(false);
}

bool PushButton::onKeyDown(int virtualKey)
{
    if (virtualKey == VK_SPACE) {
        click();
        return true;
    }
    return false;
}

} // namespace ui
