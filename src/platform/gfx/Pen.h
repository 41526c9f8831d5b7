#pragma once
// The pen that outlines rectangles and ellipses and draws lines: a style (PS_SOLID, PS_DASH,
// PS_DOT, PS_NULL), a width in pixels and a colour. A value type: a painter keeps its own copy.

#include "platform/gfx/Colour.h"
#include "platform/gfx/GdiConstants.h"

namespace gfx {

struct Pen {
    int style = PS_SOLID;
    int width = 1; // 0 draws as 1, as the handheld's cosmetic pens do
    Colour colour = colours::black;

    constexpr Pen() = default;
    constexpr Pen(int style, int width, Colour colour) : style(style), width(width), colour(colour) {}

    static constexpr Pen solid(Colour colour, int width = 1) { return {PS_SOLID, width, colour}; }
    static constexpr Pen null() { return {PS_NULL, 1, colours::black}; }

    constexpr bool isNull() const { return style == PS_NULL; }
    constexpr bool operator==(const Pen&) const = default;
};

} // namespace gfx
