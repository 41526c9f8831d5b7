#include "platform/ui/Picture.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

namespace ui {

void Picture::setPicture(gfx::Surface picture)
{
    m_picture = std::move(picture);
    invalidate();
}

void Picture::setPlacement(Placement placement)
{
    m_placement = placement;
    invalidate();
}

void Picture::setTransparentColour(std::optional<gfx::Colour> colour)
{
    m_transparent = colour;
    invalidate();
}

void Picture::setBorder(bool border)
{
    m_border = border;
    invalidate();
}

void Picture::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    painter.fillRect(box, parent() ? parent()->background() : theme::window);
    if (!m_picture.isEmpty()) {
        gfx::Rect target = gfx::Rect::fromSize(m_picture.size());
        if (m_placement == Placement::Stretch)
            target = box;
        else if (m_placement == Placement::Centre)
            target = target.translated((box.width() - target.width()) / 2, (box.height() - target.height()) / 2);
        if (m_transparent)
            painter.transparentBlt(target.left, target.top, target.width(), target.height(), m_picture, 0, 0,
                                   m_picture.width(), m_picture.height(), *m_transparent);
        else
            painter.stretchBlt(target.left, target.top, target.width(), target.height(), m_picture, 0, 0,
                               m_picture.width(), m_picture.height());
    }
    if (m_border) {
        painter.selectPen(gfx::Pen::solid(theme::frameLine));
        painter.selectBrush(gfx::Brush::null());
        painter.rectangle(box);
    }
}

void Picture::onPenUp(gfx::Point point)
{
    if (!m_notify || !clientRect().contains(point))
        return;
    m_lastTap = point;
    notifyParent(STN_CLICKED);
}

} // namespace ui
