#include "platform/ui/ListView.h"

#include "platform/gfx/Painter.h"
#include "platform/gfx/PainterStateSaver.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

bool ListView::onCreate()
{
    layout();
    if (m_selection >= 0)
        ensureVisible(m_selection);
    return true;
}

void ListView::setStyle(Style style)
{
    m_style = style;
    layout();
}

void ListView::setImageList(const ImageList* images)
{
    m_images = images;
    invalidate();
}

int ListView::insertColumn(int index, device::WideView title, int width)
{
    std::size_t at = index < 0 || index > columnCount() ? m_columns.size() : std::size_t(index);
    m_columns.insert(m_columns.begin() + std::ptrdiff_t(at), Column{device::WideString(title), width});
    invalidate();
    return int(at);
}

int ListView::insertItem(int index, device::WideView text, int image, std::intptr_t data)
{
    std::size_t at = index < 0 || index > count() ? m_items.size() : std::size_t(index);
    m_items.insert(m_items.begin() + std::ptrdiff_t(at), Item{{device::WideString(text)}, image, data});
    if (m_selection >= int(at))
        ++m_selection;
    layout();
    return int(at);
}

bool ListView::setItemText(int index, int subItem, device::WideView text)
{
    if (index < 0 || index >= count() || subItem < 0)
        return false;
    auto& texts = m_items[std::size_t(index)].texts;
    if (texts.size() <= std::size_t(subItem))
        texts.resize(std::size_t(subItem) + 1);
    texts[std::size_t(subItem)] = device::WideString(text);
    invalidate();
    return true;
}

bool ListView::deleteItem(int index)
{
    if (index < 0 || index >= count())
        return false;
    m_items.erase(m_items.begin() + index);
    if (m_selection == index)
        m_selection = -1;
    else if (m_selection > index)
        --m_selection;
    layout();
    return true;
}

void ListView::deleteAllItems()
{
    m_items.clear();
    m_selection = -1;
    m_scroll.setPosition(0);
    layout();
}

device::WideString ListView::itemText(int index, int subItem) const
{
    if (index < 0 || index >= count() || subItem < 0)
        return {};
    const auto& texts = m_items[std::size_t(index)].texts;
    return std::size_t(subItem) < texts.size() ? texts[std::size_t(subItem)] : device::WideString();
}

int ListView::itemImage(int index) const { return index >= 0 && index < count() ? m_items[std::size_t(index)].image : -1; }

std::intptr_t ListView::itemData(int index) const
{
    return index >= 0 && index < count() ? m_items[std::size_t(index)].data : 0;
}

bool ListView::setItemData(int index, std::intptr_t data)
{
    if (index < 0 || index >= count())
        return false;
    m_items[std::size_t(index)].data = data;
    return true;
}

int ListView::findItem(device::WideView text) const
{
    for (int index = 0; index < count(); ++index)
        if (device::equalsNoCase(m_items[std::size_t(index)].texts.front(), text))
            return index;
    return -1;
}

bool ListView::setSelection(int index)
{
    if (index < -1 || index >= count())
        return false;
    m_selection = index;
    if (index >= 0)
        ensureVisible(index);
    invalidate();
    return true;
}

gfx::Rect ListView::listArea() const
{
    gfx::Rect inside = clientRect().inflated(-1, -1);
    if (m_style == Style::Report)
        inside.top += headerHeight;
    if (m_scroll.isNeeded())
        inside.right -= ScrollBar::width;
    return inside;
}

int ListView::visibleCount() const
{
    int height = rect().height() - 2 - (m_style == Style::Report ? headerHeight : 0);
    return std::max(1, height / rowHeight);
}

void ListView::layout()
{
    gfx::Rect inside = clientRect().inflated(-1, -1);
    if (m_style == Style::Report)
        inside.top += headerHeight;
    m_scroll.setRect({inside.right - ScrollBar::width, inside.top, inside.right, inside.bottom});
    m_scroll.setRange(count(), visibleCount());
    invalidate();
}

gfx::Rect ListView::itemRect(int index) const
{
    if (index < topIndex() || index >= topIndex() + visibleCount() || index >= count())
        return {};
    gfx::Rect area = listArea();
    int top = area.top + (index - topIndex()) * rowHeight;
    return {area.left, top, area.right, top + rowHeight};
}

void ListView::ensureVisible(int index)
{
    if (!exists())
        return; // scrolled into view when it is laid out
    if (index < topIndex())
        m_scroll.setPosition(index);
    else if (index >= topIndex() + visibleCount())
        m_scroll.setPosition(index - visibleCount() + 1);
    invalidate();
}

void ListView::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    painter.fillRect(box, theme::window);
    painter.selectPen(gfx::Pen::solid(theme::frameLine));
    painter.selectBrush(gfx::Brush::null());
    painter.rectangle(box);
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    if (m_style == Style::Report) {
        gfx::Rect header{1, 1, box.right - 1, 1 + headerHeight};
        painter.fillRect(header, theme::face);
        painter.fillRect({header.left, header.bottom - 1, header.right, header.bottom}, theme::shadow);
        int x = header.left;
        painter.setTextColour(theme::text);
        for (const Column& column : m_columns) {
            gfx::Rect cell{x + 3, header.top, x + column.width - 2, header.bottom - 1};
            painter.drawText(column.title, cell, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
            x += column.width;
            painter.fillRect({x - 1, header.top + 2, x, header.bottom - 3}, theme::shadow);
        }
    }
    if (m_scroll.isNeeded())
        m_scroll.paint(painter);
    for (int index = topIndex(); index < count() && index < topIndex() + visibleCount(); ++index) {
        const Item& item = m_items[std::size_t(index)];
        gfx::Rect row = itemRect(index);
        const gfx::PainterStateSaver saved(painter);
        painter.intersectClipRect(row);
        int imageSize = m_images ? m_images->width() : 0;
        int textLeft = row.left + 2 + (m_images ? imageSize + 4 : 0);
        if (m_images)
            m_images->draw(painter, item.image, row.left + 2, row.top + (rowHeight - m_images->height()) / 2);
        int firstWidth = m_style == Style::Report && !m_columns.empty() ? m_columns.front().width : row.width();
        bool lit = index == m_selection;
        gfx::Rect label{textLeft, row.top + 1, std::min(row.left + firstWidth, row.right), row.bottom - 1};
        if (lit) {
            gfx::Size extent = theme::font().textExtent(item.texts.front());
            painter.fillRect({label.left, label.top, std::min(label.right, label.left + extent.width + 5), label.bottom},
                             theme::highlight);
        }
        painter.setTextColour(lit ? theme::highlightText : theme::text);
        painter.drawText(item.texts.front(), label.translated(2, 0),
                         gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
        if (m_style == Style::Report) {
            painter.setTextColour(theme::text);
            int x = row.left;
            for (std::size_t column = 0; column < m_columns.size(); ++column) {
                if (column > 0 && column < item.texts.size()) {
                    gfx::Rect cell{x + 3, row.top, x + m_columns[column].width - 2, row.bottom};
                    painter.drawText(item.texts[column], cell,
                                     gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
                }
                x += m_columns[column].width;
            }
        }
    }
}

void ListView::notify(int code, int item, gfx::Point point)
{
    NotifyHeader header;
    header.code = code;
    header.item = item;
    header.point = point;
    notifyParent(header);
}

void ListView::onPenDown(gfx::Point point)
{
    if (m_scroll.penDown(point))
        invalidate();
}

void ListView::onPenMove(gfx::Point point)
{
    if (m_scroll.penMove(point))
        invalidate();
}

void ListView::onPenUp(gfx::Point point)
{
    if (m_scroll.penUp())
        return;
    int hit = -1;
    for (int index = topIndex(); index < count() && index < topIndex() + visibleCount(); ++index)
        if (itemRect(index).contains(point))
            hit = index;
    WindowHandle self = handle();
    if (hit >= 0 && hit != m_selection) {
        setSelection(hit);
        notify(LVN_ITEMCHANGED, hit, point);
    }
    if (Window::fromHandle(self))
        notify(NM_CLICK, hit, point);
}

bool ListView::onKeyDown(int virtualKey)
{
    if (count() == 0 || (virtualKey != VK_UP && virtualKey != VK_DOWN))
        return false;
    int next = std::clamp(m_selection + (virtualKey == VK_DOWN ? 1 : -1), 0, count() - 1);
    if (next != m_selection) {
        setSelection(next);
        notify(LVN_ITEMCHANGED, next);
    }
    return true;
}

} // namespace ui
