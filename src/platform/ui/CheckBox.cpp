#include "platform/ui/CheckBox.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

namespace ui {

void CheckBox::setChecked(bool checked)
{
    if (m_checked == checked)
        return;
    m_checked = checked;
    invalidate();
}

gfx::Rect CheckBox::boxRect() const
{
    int top = (rect().height() - 13) / 2;
    return {0, top, 13, top + 13};
}

void CheckBox::toggle()
{
    setChecked(!m_checked);
    notifyParent(BN_CLICKED);
}

void CheckBox::onPaint(gfx::Painter& painter)
{
    painter.fillRect(clientRect(), parent() ? parent()->background() : theme::window);
    gfx::Rect box = boxRect();
    bool enabled = isEnabledInChain();
    painter.selectPen(gfx::Pen::solid(enabled ? theme::frameLine : theme::grayText));
    painter.selectBrush(gfx::Brush::solid(theme::window));
    painter.rectangle(box);
    if (m_checked) {
        painter.selectPen(gfx::Pen::solid(enabled ? theme::text : theme::grayText));
        for (int thickness = 0; thickness < 2; ++thickness) {
            painter.moveTo(box.left + 3, box.top + 5 + thickness);
            painter.lineTo(box.left + 5, box.top + 7 + thickness);
            painter.lineTo(box.left + 10, box.top + 2 + thickness);
        }
    }
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(enabled ? theme::text : theme::grayText);
    gfx::Rect label{box.right + 5, 0, rect().width(), rect().height()};
    painter.drawText(text(), label, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_HIDEPREFIX);
    if (hasFocus()) {
        gfx::Size extent = painter.textExtent(device::WideString(text()));
        int top = (rect().height() - extent.height) / 2;
        painter.fillRect({label.left, top + extent.height, label.left + extent.width, top + extent.height + 1},
                         theme::shadow);
    }
}

void CheckBox::onPenDown(gfx::Point point) { m_tracking = true; }

void CheckBox::onPenUp(gfx::Point point)
{
    bool clicked = m_tracking && clientRect().contains(point);
    m_tracking = false;
    if (clicked)
        toggle();
}

bool CheckBox::onKeyDown(int virtualKey)
{
    if (virtualKey != VK_SPACE)
        return false;
    toggle();
    return true;
}

} // namespace ui
