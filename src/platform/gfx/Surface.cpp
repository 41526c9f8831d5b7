#include "platform/gfx/Surface.h"

#include <algorithm>

namespace gfx {

Surface::Surface(int width, int height, Colour fill)
{
    if (width <= 0 || height <= 0 || width > maximumSide || height > maximumSide
        || std::int64_t(width) * height > maximumPixels)
        return;
    m_width = width;
    m_height = height;
    m_pixels.assign(std::size_t(width) * std::size_t(height), opaque(fill));
}

void Surface::fill(Colour colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), opaque(colour));
}

void Surface::fillRect(const Rect& rect, Colour colour)
{
    Rect area = rect.intersected(this->rect());
    if (area.isEmpty())
        return;
    Colour value = opaque(colour);
    for (int y = area.top; y < area.bottom; ++y)
        std::fill(row(y) + area.left, row(y) + area.right, value);
}

Surface Surface::cropped(const Rect& rect) const
{
    Rect area = rect.intersected(this->rect());
    Surface result(area.width(), area.height());
    for (int y = 0; y < result.height(); ++y)
        std::copy(row(area.top + y) + area.left, row(area.top + y) + area.right, result.row(y));
    return result;
}

} // namespace gfx
