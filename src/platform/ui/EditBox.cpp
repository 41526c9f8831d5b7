#include "platform/ui/EditBox.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

#include <algorithm>
#include <cstdlib>

namespace ui {

void EditBox::setText(device::WideView text)
{
    Control::setText(text);
    m_caret = std::min(m_caret, this->text().size());
    if (!hasFocus())
        m_caret = this->text().size();
    keepCaretVisible();
}

void EditBox::setCaret(std::size_t position)
{
    m_caret = std::min(position, text().size());
    keepCaretVisible();
    invalidate();
}

gfx::Rect EditBox::textArea() const { return clientRect().inflated(m_border ? -3 : -1, 0); }

int EditBox::textX(std::size_t position) const
{
    return theme::font().textExtent(device::WideView(text()).substr(0, position)).width;
}

void EditBox::keepCaretVisible()
{
    if (textArea().width() <= 1) {
        m_scroll = 0; // not laid out yet: the caret is placed once the box has its size
        return;
    }
    int width = std::max(1, textArea().width() - 1);
    int x = textX(m_caret);
    if (x - m_scroll > width)
        m_scroll = x - width;
    if (x < m_scroll)
        m_scroll = std::max(0, x - width / 3);
    m_scroll = std::max(0, std::min(m_scroll, std::max(0, textX(text().size()) - width)));
}

void EditBox::onMoved() { keepCaretVisible(); }

void EditBox::changed()
{
    keepCaretVisible();
    invalidate();
    notifyParent(m_changeCode);
}

void EditBox::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    bool enabled = isEnabledInChain();
    painter.fillRect(box, theme::window);
    if (m_border) {
        painter.selectPen(gfx::Pen::solid(enabled ? theme::frameLine : theme::grayText));
        painter.selectBrush(gfx::Brush::null());
        painter.rectangle(box);
    }
    gfx::Rect area = textArea();
    painter.intersectClipRect(area);
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(enabled ? theme::text : theme::grayText);
    int height = theme::font().height();
    int top = area.top + (area.height() - height) / 2;
    painter.textOut(area.left - m_scroll, top, text());
    if (hasFocus() && !m_readOnly) {
        int x = area.left - m_scroll + textX(m_caret);
        painter.fillRect({x, top, x + 1, top + height}, theme::text);
    }
}

void EditBox::onPenDown(gfx::Point point)
{
    // The caret goes to the character boundary nearest the tap.
    int x = point.x - textArea().left + m_scroll;
    std::size_t best = 0;
    int bestDistance = std::abs(x);
    for (std::size_t i = 1; i <= text().size(); ++i) {
        int distance = std::abs(textX(i) - x);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    setCaret(best);
}

bool EditBox::onKeyDown(int virtualKey)
{
    device::WideString value = text();
    switch (virtualKey) {
    case VK_LEFT:
        setCaret(m_caret > 0 ? m_caret - 1 : 0);
        return true;
    case VK_RIGHT:
        setCaret(m_caret + 1);
        return true;
    case VK_HOME:
        setCaret(0);
        return true;
    case VK_END:
        setCaret(value.size());
        return true;
    case VK_BACK:
        return onChar(u'\b');
    case VK_DELETE:
        if (m_readOnly || m_caret >= value.size())
            return true;
        value.erase(m_caret, 1);
        Control::setText(value);
        changed();
        return true;
    default:
        return false;
    }
}

bool EditBox::onChar(device::WChar character)
{
    if (character == u'\r' || character == u'\n' || character == u'\t' || character == 0x1B)
        return false; // Return, Tab and Escape belong to the dialog
    if (m_readOnly)
        return true;
    device::WideString value = text();
    if (character == u'\b') {
        if (m_caret == 0)
            return true;
        value.erase(m_caret - 1, 1);
        --m_caret;
    } else {
        if (character < 0x20 || (m_limit && value.size() >= m_limit))
            return true;
        value.insert(m_caret, 1, character);
        ++m_caret;
    }
    Control::setText(value);
    changed();
    return true;
}

} // namespace ui
