#pragma once
// One rendered character of a face at one size: its coverage bitmap (0 = untouched, 255 = full
// text colour) and where it sits relative to the pen position on the baseline.

#include <cstdint>
#include <vector>

namespace gfx {

struct Glyph {
    int advance = 0; // pixels the pen moves to the right
    int left = 0;    // from the pen position to the bitmap's left column
    int top = 0;     // from the baseline up to the bitmap's top row
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage; // width × height, rows top to bottom
};

} // namespace gfx
