#include "platform/ui/ComboDropDown.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

ComboDropDown::ComboDropDown(ComboBox& owner) : m_owner(owner) { setHoldGesture(false); }

ComboDropDown::~ComboDropDown()
{
    if (Desktop* desktop = Desktop::instance())
        desktop->input().removeGrab(this);
}

bool ComboDropDown::open()
{
    gfx::Rect field = m_owner.screenRect();
    int rows = std::max(1, std::min(m_owner.count(), (m_owner.droppedHeight() - 2) / ComboBox::itemHeight));
    int height = rows * ComboBox::itemHeight + 2;
    int top = field.bottom;
    if (top + height > theme::screenHeight)
        top = std::max(0, field.top - height);
    if (!createTopLevel({field.left, top, field.right, top + height}, u"", Layer::Popup, true))
        return false;
    m_scroll.setRect({rect().width() - 1 - ScrollBar::width, 1, rect().width() - 1, height - 1});
    m_scroll.setRange(m_owner.count(), rows);
    m_highlighted = m_owner.curSel();
    if (m_highlighted >= rows)
        m_scroll.setPosition(m_highlighted - rows + 1);
    desktop()->input().pushGrab(this);
    return true;
}

int ComboDropDown::visibleCount() const { return std::max(1, (rect().height() - 2) / ComboBox::itemHeight); }

gfx::Rect ComboDropDown::itemRect(int index) const
{
    if (index < topIndex() || index >= topIndex() + visibleCount() || index >= m_owner.count())
        return {};
    int top = 1 + (index - topIndex()) * ComboBox::itemHeight;
    int right = rect().width() - 1 - (m_scroll.isNeeded() ? ScrollBar::width : 0);
    return {1, top, right, top + ComboBox::itemHeight};
}

gfx::Rect ComboDropDown::itemScreenRect(int index) const
{
    gfx::Rect item = itemRect(index);
    return item.isEmpty() ? item : item.translated(screenRect().topLeft());
}

int ComboDropDown::itemAt(gfx::Point client) const
{
    for (int index = topIndex(); index < topIndex() + visibleCount() && index < m_owner.count(); ++index)
        if (itemRect(index).contains(client))
            return index;
    return -1;
}

void ComboDropDown::onPaint(gfx::Painter& painter)
{
    painter.selectPen(gfx::Pen::solid(theme::frameLine));
    painter.selectBrush(gfx::Brush::solid(theme::window));
    painter.rectangle(clientRect());
    if (m_scroll.isNeeded())
        m_scroll.paint(painter);
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    for (int index = topIndex(); index < topIndex() + visibleCount() && index < m_owner.count(); ++index) {
        gfx::Rect item = itemRect(index);
        bool lit = index == m_highlighted;
        if (lit)
            painter.fillRect(item, theme::highlight);
        painter.setTextColour(lit ? theme::highlightText : theme::text);
        item.left += 3;
        painter.drawText(m_owner.itemText(index), item,
                         gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
    }
}

void ComboDropDown::grabbedPen(InputEvent::Kind kind, gfx::Point screenPoint)
{
    gfx::Point client = fromScreen(screenPoint);
    switch (kind) {
    case InputEvent::Kind::PenDown: {
        m_penWasDown = true;
        if (!clientRect().contains(client)) {
            m_owner.showDropDown(false); // destroys this object: nothing may follow
            return;
        }
        if (m_scroll.penDown(client))
            invalidate();
        if (!m_scroll.isHeld()) {
            m_highlighted = itemAt(client);
            invalidate();
        }
        break;
    }
    case InputEvent::Kind::PenMove:
        if (m_scroll.isHeld()) {
            if (m_scroll.penMove(client))
                invalidate();
        } else if (int index = itemAt(client); index >= 0 && index != m_highlighted) {
            m_highlighted = index;
            invalidate();
        }
        break;
    case InputEvent::Kind::PenUp: {
        // A pen that went down before the list opened (the tap that opened it) chooses nothing.
        if (m_scroll.penUp() || !m_penWasDown)
            return;
        int index = itemAt(client);
        if (index >= 0)
            m_owner.chooseFromList(index); // destroys this object
        break;
    }
    default:
        break;
    }
}

void ComboDropDown::grabbedKey(int virtualKey)
{
    switch (virtualKey) {
    case VK_UP:
    case VK_DOWN: {
        int next = std::clamp(m_highlighted + (virtualKey == VK_DOWN ? 1 : -1), 0, std::max(0, m_owner.count() - 1));
        m_highlighted = next;
        if (next < topIndex())
            m_scroll.setPosition(next);
        else if (next >= topIndex() + visibleCount())
            m_scroll.setPosition(next - visibleCount() + 1);
        invalidate();
        break;
    }
    case VK_RETURN:
        if (m_highlighted >= 0)
            m_owner.chooseFromList(m_highlighted);
        else
            m_owner.showDropDown(false);
        break;
    case VK_ESCAPE:
        m_owner.showDropDown(false);
        break;
    default:
        break;
    }
}

} // namespace ui
