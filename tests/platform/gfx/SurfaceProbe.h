#pragma once
// Small readers of a surface for drawing tests: counts, ink bounds and a text picture of an area
// for failure messages.

#include "platform/gfx/Surface.h"

#include <string>

namespace gfx_test {

inline int countColour(const gfx::Surface& surface, gfx::Colour colour, gfx::Rect area)
{
    area = area.intersected(surface.rect());
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += surface.pixel(x, y) == colour;
    return count;
}

inline int countColour(const gfx::Surface& surface, gfx::Colour colour)
{
    return countColour(surface, colour, surface.rect());
}

// The bounds of every pixel that differs from the background; empty when there is none.
inline gfx::Rect inkBounds(const gfx::Surface& surface, gfx::Colour background)
{
    gfx::Rect bounds;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (surface.pixel(x, y) != background)
                bounds = bounds.united({x, y, x + 1, y + 1});
    return bounds;
}

// '#' for pixels of `ink`, '.' for others, one text line per row.
inline std::string picture(const gfx::Surface& surface, gfx::Rect area, gfx::Colour ink)
{
    std::string text = "\n";
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            text += surface.pixel(x, y) == ink ? '#' : '.';
        text += '\n';
    }
    return text;
}

} // namespace gfx_test
