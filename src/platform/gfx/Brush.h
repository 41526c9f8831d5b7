#pragma once
// The brush that fills rectangles and ellipses: a solid colour or the hollow (null) brush, which
// fills nothing. A value type: a painter keeps its own copy.

#include "platform/gfx/Colour.h"
#include "platform/gfx/GdiConstants.h"

namespace gfx {

struct Brush {
    int style = BS_SOLID;
    Colour colour = colours::white;

    constexpr Brush() = default;
    constexpr Brush(int style, Colour colour) : style(style), colour(colour) {}

    static constexpr Brush solid(Colour colour) { return {BS_SOLID, colour}; }
    static constexpr Brush null() { return {BS_NULL, colours::white}; }

    constexpr bool isNull() const { return style == BS_NULL; }
    constexpr bool operator==(const Brush&) const = default;
};

} // namespace gfx
