#include "platform/ui/MenuWindow.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

namespace {
constexpr int checkColumn = 16;   // room for the check mark
constexpr int arrowColumn = 14;   // room for the submenu arrow
constexpr int textPadding = 4;
} // namespace

MenuWindow::MenuWindow(Menu& menu) : m_menu(menu) { setHoldGesture(false); }

gfx::Size MenuWindow::measure() const
{
    int width = 60;
    int height = 2;
    for (std::size_t i = 0; i < m_menu.count(); ++i) {
        const MenuItem& item = m_menu.item(i);
        if (item.separator) {
            height += separatorHeight;
            continue;
        }
        height += itemHeight;
        int textWidth = theme::font().textExtent(Menu::displayText(item.text)).width;
        width = std::max(width, checkColumn + textWidth + textPadding + arrowColumn + 2);
    }
    return {std::min(width, theme::screenWidth), std::min(height, theme::screenHeight)};
}

bool MenuWindow::open(gfx::Point topLeft)
{
    gfx::Size size = measure();
    return createTopLevel(gfx::Rect::fromPositionAndSize(topLeft.x, topLeft.y, size.width, size.height), u"Menu",
                          Layer::Popup, true);
}

gfx::Rect MenuWindow::itemRect(std::size_t position) const
{
    int top = 1;
    for (std::size_t i = 0; i < m_menu.count() && i < position; ++i)
        top += m_menu.item(i).separator ? separatorHeight : itemHeight;
    int height = position < m_menu.count() && m_menu.item(position).separator ? separatorHeight : itemHeight;
    return {1, top, rect().width() - 1, top + height};
}

int MenuWindow::itemAt(gfx::Point client) const
{
    if (!clientRect().contains(client))
        return -1;
    for (std::size_t i = 0; i < m_menu.count(); ++i)
        if (itemRect(i).contains(client))
            return m_menu.item(i).separator ? -1 : int(i);
    return -1;
}

void MenuWindow::setHighlighted(int position)
{
    if (position == m_highlighted)
        return;
    m_highlighted = position;
    invalidate();
}

void MenuWindow::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    painter.selectPen(gfx::Pen::solid(theme::frameLine));
    painter.selectBrush(gfx::Brush::solid(theme::window));
    painter.rectangle(box);
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    for (std::size_t i = 0; i < m_menu.count(); ++i) {
        const MenuItem& item = m_menu.item(i);
        gfx::Rect area = itemRect(i);
        if (item.separator) {
            int y = area.top + separatorHeight / 2;
            painter.fillRect({area.left + 2, y, area.right - 2, y + 1}, theme::shadow);
            continue;
        }
        bool lit = int(i) == m_highlighted && !item.grayed;
        if (lit)
            painter.fillRect(area, theme::highlight);
        gfx::Colour ink = item.grayed ? theme::grayText : lit ? theme::highlightText : theme::text;
        painter.setTextColour(ink);
        gfx::Rect textArea{area.left + checkColumn, area.top, area.right - arrowColumn, area.bottom};
        painter.drawText(item.text, textArea, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_HIDEPREFIX);
        if (item.checked) {
            // A check mark: a short stroke down and a long one up, two pixels thick.
            int x = area.left + 4, y = area.top + area.height() / 2;
            painter.selectPen(gfx::Pen::solid(ink));
            for (int thickness = 0; thickness < 2; ++thickness) {
                painter.moveTo(x, y - 1 + thickness);
                painter.lineTo(x + 3, y + 2 + thickness);
                painter.lineTo(x + 9, y - 4 + thickness);
            }
        }
        if (item.submenu) {
            int x = area.right - 9, y = area.top + area.height() / 2;
            for (int column = 0; column < 4; ++column)
                painter.fillRect({x + column, y - 3 + column, x + column + 1, y + 4 - column}, ink);
        }
    }
}

} // namespace ui
