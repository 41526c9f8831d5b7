#pragma once
// The backgrounds of the default skin, one landscape for each month, and the program's built-in
// background. They are 240 × 228: the month views lay the background over the day grid below the
// 28-pixel title and the 12-pixel day bar of the 268-pixel view, at its own size, and the day and
// week views over the hour rows, which take the same place.

#include "platform/gfx/Surface.h"

namespace assetgen {

class SeasonalBackgrounds {
public:
    static constexpr int width = 240;
    static constexpr int height = 228;

    static gfx::Surface month(int month); // 1 to 12
    static gfx::Surface builtIn();
    // The fade level the default skin gives the month's picture.
    static int fadeLevel(int month);
};

} // namespace assetgen
