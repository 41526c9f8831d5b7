#include "platform/ui/Label.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

namespace ui {

void Label::setAlign(Align align)
{
    m_align = align;
    invalidate();
}

void Label::setBold(bool bold)
{
    m_bold = bold;
    invalidate();
}

void Label::setTextColour(gfx::Colour colour)
{
    m_colour = colour;
    invalidate();
}

void Label::onPaint(gfx::Painter& painter)
{
    painter.fillRect(clientRect(), parent() ? parent()->background() : theme::window);
    const gfx::Font& font = m_bold ? theme::boldFont() : theme::font();
    painter.selectFont(font);
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(isEnabledInChain() ? m_colour : theme::grayText);
    unsigned format = m_align == Align::Centre ? gfx::DT_CENTER : m_align == Align::Right ? gfx::DT_RIGHT : gfx::DT_LEFT;
    if (clientRect().height() >= 2 * font.height())
        format |= gfx::DT_WORDBREAK;
    else
        format |= gfx::DT_SINGLELINE | gfx::DT_VCENTER;
    painter.drawText(text(), clientRect(), format);
}

void Label::onPenUp(gfx::Point point)
{
    if (!m_notify || !clientRect().contains(point))
        return;
    m_lastTap = point;
    notifyParent(STN_CLICKED);
}

} // namespace ui
