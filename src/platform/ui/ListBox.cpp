#include "platform/ui/ListBox.h"

#include "platform/gfx/Painter.h"
#include "platform/gfx/PainterStateSaver.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

ListBox::ListBox() = default;

bool ListBox::onCreate()
{
    layout();
    if (curSel() >= 0)
        ensureVisible(curSel());
    return true;
}

void ListBox::setOwnerDraw(DrawFunction draw)
{
    m_draw = std::move(draw);
    invalidate();
}

void ListBox::setItemHeight(int height)
{
    m_itemHeight = std::max(1, height);
    layout();
}

gfx::Rect ListBox::listArea() const
{
    gfx::Rect inside = clientRect().inflated(-1, -1);
    if (m_scroll.isNeeded())
        inside.right -= ScrollBar::width;
    return inside;
}

int ListBox::visibleCount() const { return std::max(1, (clientRect().height() - 2) / m_itemHeight); }

void ListBox::layout()
{
    gfx::Rect inside = clientRect().inflated(-1, -1);
    m_scroll.setRect({inside.right - ScrollBar::width, inside.top, inside.right, inside.bottom});
    m_scroll.setRange(count(), visibleCount());
    invalidate();
}

int ListBox::addString(device::WideView text, std::intptr_t data)
{
    int index = m_items.add(text, data);
    layout();
    return index;
}

int ListBox::insertString(int index, device::WideView text, std::intptr_t data)
{
    int at = m_items.insert(index, text, data);
    layout();
    return at;
}

bool ListBox::deleteString(int index)
{
    if (!m_items.remove(index))
        return false;
    layout();
    return true;
}

void ListBox::resetContent()
{
    m_items.clear();
    m_scroll.setPosition(0);
    layout();
}

bool ListBox::setCurSel(int index)
{
    if (!m_items.select(index))
        return false;
    if (index >= 0)
        ensureVisible(index);
    invalidate();
    return true;
}

void ListBox::setTopIndex(int index)
{
    if (m_scroll.setPosition(index))
        invalidate();
}

void ListBox::ensureVisible(int index)
{
    if (!exists())
        return; // scrolled into view when it is laid out
    if (index < topIndex())
        setTopIndex(index);
    else if (index >= topIndex() + visibleCount())
        setTopIndex(index - visibleCount() + 1);
}

gfx::Rect ListBox::itemRect(int index) const
{
    if (!m_items.isValid(index) || index < topIndex() || index >= topIndex() + visibleCount())
        return {};
    gfx::Rect area = listArea();
    int top = area.top + (index - topIndex()) * m_itemHeight;
    return {area.left, top, area.right, top + m_itemHeight};
}

int ListBox::itemAt(gfx::Point point) const
{
    gfx::Rect area = listArea();
    if (!area.contains(point))
        return -1;
    int index = topIndex() + (point.y - area.top) / m_itemHeight;
    return m_items.isValid(index) && index < topIndex() + visibleCount() ? index : -1;
}

void ListBox::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    painter.fillRect(box, theme::window);
    painter.selectPen(gfx::Pen::solid(isEnabledInChain() ? theme::frameLine : theme::grayText));
    painter.selectBrush(gfx::Brush::null());
    painter.rectangle(box);
    if (m_scroll.isNeeded())
        m_scroll.paint(painter);
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    for (int index = topIndex(); index < count() && index < topIndex() + visibleCount(); ++index) {
        DrawItem item{index, itemRect(index), index == curSel(), m_items.at(index).text, m_items.at(index).data};
        const gfx::PainterStateSaver saved(painter);
        painter.intersectClipRect(item.rect);
        if (m_draw) {
            m_draw(painter, item);
        } else {
            if (item.selected)
                painter.fillRect(item.rect, theme::highlight);
            painter.setTextColour(item.selected ? theme::highlightText
                                                : isEnabledInChain() ? theme::text : theme::grayText);
            gfx::Rect textArea = item.rect;
            textArea.left += 3;
            painter.drawText(item.text, textArea,
                             gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
        }
    }
}

void ListBox::selectByUser(int index)
{
    if (index < 0)
        return;
    if (index == curSel()) {
        notifyParent(LBN_DBLCLK);
        return;
    }
    setCurSel(index);
    notifyParent(LBN_SELCHANGE);
}

void ListBox::onPenDown(gfx::Point point)
{
    if (m_scroll.penDown(point))
        invalidate();
}

void ListBox::onPenMove(gfx::Point point)
{
    if (m_scroll.penMove(point))
        invalidate();
}

void ListBox::onPenUp(gfx::Point point)
{
    if (m_scroll.penUp())
        return;
    selectByUser(itemAt(point));
}

bool ListBox::onKeyDown(int virtualKey)
{
    if (count() == 0)
        return false;
    int selection = curSel();
    int next = selection;
    switch (virtualKey) {
    case VK_UP:
        next = std::max(0, selection - 1);
        break;
    case VK_DOWN:
        next = std::min(count() - 1, selection + 1);
        break;
    case VK_PRIOR:
        next = std::max(0, selection - visibleCount());
        break;
    case VK_NEXT:
        next = std::min(count() - 1, std::max(0, selection) + visibleCount());
        break;
    default:
        return false;
    }
    if (next != selection) {
        setCurSel(next);
        notifyParent(LBN_SELCHANGE);
    }
    return true;
}

} // namespace ui
