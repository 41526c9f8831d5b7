#pragma once
// A width and a height in pixels.

namespace gfx {

struct Size {
    int width = 0;
    int height = 0;

    constexpr bool isEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool operator==(const Size&) const = default;
};

} // namespace gfx
