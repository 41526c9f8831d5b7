#pragma once
// A list of small pictures of one size (16 × 16 by default) for list views and trees. Pictures of
// another size are scaled to fit when added; a colour key, when set, is left out when drawing.

#include "platform/gfx/Colour.h"
#include "platform/gfx/Surface.h"

#include <optional>
#include <vector>

namespace gfx {
class Painter;
}

namespace ui {

class ImageList {
public:
    explicit ImageList(int width = 16, int height = 16) : m_width(width), m_height(height) {}

    int width() const { return m_width; }
    int height() const { return m_height; }
    // Returns the new picture's index. An empty surface keeps an empty slot (nothing drawn).
    int add(const gfx::Surface& picture);
    int count() const { return int(m_pictures.size()); }
    const gfx::Surface& picture(int index) const { return m_pictures.at(std::size_t(index)); }
    void setTransparentColour(std::optional<gfx::Colour> colour) { m_transparent = colour; }
    void clear() { m_pictures.clear(); }

    void draw(gfx::Painter& painter, int index, int x, int y) const;

private:
    int m_width;
    int m_height;
    std::optional<gfx::Colour> m_transparent;
    std::vector<gfx::Surface> m_pictures;
};

} // namespace ui
