#pragma once
// A position in pixels. x grows to the right, y grows downwards, as on the screen.

namespace gfx {

struct Point {
    int x = 0;
    int y = 0;

    constexpr Point translated(int dx, int dy) const { return {x + dx, y + dy}; }
    constexpr Point operator+(Point other) const { return {x + other.x, y + other.y}; }
    constexpr Point operator-(Point other) const { return {x - other.x, y - other.y}; }
    constexpr bool operator==(const Point&) const = default;
};

} // namespace gfx
