#pragma once
// A rectangle as the handheld's drawing layer keeps it: left and top are inside, right and bottom
// are the first column and row outside. So (0, 0, 240, 320) is exactly the screen and its width is
// right - left. A rectangle whose right is not beyond its left (or bottom beyond top) is empty.

#include "platform/gfx/Point.h"
#include "platform/gfx/Size.h"

#include <algorithm>

namespace gfx {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect fromPositionAndSize(int x, int y, int width, int height)
    {
        return {x, y, x + width, y + height};
    }
    static constexpr Rect fromSize(Size size) { return {0, 0, size.width, size.height}; }

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr Size size() const { return {width(), height()}; }
    constexpr Point topLeft() const { return {left, top}; }
    constexpr Point bottomRight() const { return {right, bottom}; }
    constexpr Point centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }

    // The point lies inside: the right column and bottom row are outside, as for a tap test.
    constexpr bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    constexpr bool contains(int x, int y) const { return contains(Point{x, y}); }
    constexpr bool contains(const Rect& other) const
    {
        return !other.isEmpty() && other.left >= left && other.right <= right && other.top >= top
            && other.bottom <= bottom;
    }
    constexpr bool intersects(const Rect& other) const { return !intersected(other).isEmpty(); }

    // The common part; an empty result is normalised to (0, 0, 0, 0), as the handheld does.
    constexpr Rect intersected(const Rect& other) const
    {
        Rect result{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                    std::min(bottom, other.bottom)};
        return result.isEmpty() ? Rect{} : result;
    }
    // The smallest rectangle holding both; an empty operand does not count.
    constexpr Rect united(const Rect& other) const
    {
        if (isEmpty())
            return other.isEmpty() ? Rect{} : other;
        if (other.isEmpty())
            return *this;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    constexpr Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr Rect translated(Point offset) const { return translated(offset.x, offset.y); }
    // Grows by dx on the left and right and dy on the top and bottom (negative values shrink).
    constexpr Rect inflated(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }

    constexpr bool operator==(const Rect&) const = default;
};

} // namespace gfx
