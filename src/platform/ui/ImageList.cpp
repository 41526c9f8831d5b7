#include "platform/ui/ImageList.h"

#include "platform/gfx/Painter.h"

namespace ui {

int ImageList::add(const gfx::Surface& picture)
{
    if (picture.isEmpty() || (picture.width() == m_width && picture.height() == m_height)) {
        m_pictures.push_back(picture);
    } else {
        gfx::Surface scaled(m_width, m_height, picture.pixel(0, 0));
        gfx::Painter painter(scaled);
        painter.stretchBlt(0, 0, m_width, m_height, picture, 0, 0, picture.width(), picture.height());
        m_pictures.push_back(std::move(scaled));
    }
    return count() - 1;
}

void ImageList::draw(gfx::Painter& painter, int index, int x, int y) const
{
    if (index < 0 || index >= count())
        return;
    const gfx::Surface& source = m_pictures[std::size_t(index)];
    if (source.isEmpty())
        return;
    if (m_transparent)
        painter.transparentBlt(x, y, m_width, m_height, source, 0, 0, m_width, m_height, *m_transparent);
    else
        painter.bitBlt(x, y, m_width, m_height, source, 0, 0);
}

} // namespace ui
