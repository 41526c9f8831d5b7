#pragma once
// The month title strips (240 × 28): the month's name on a band in the month's colours with its
// emblem. The views write the year over the right part of the strip (light text with a dark
// outline, right- and bottom-aligned), so that part holds nothing but the band.

#include "platform/gfx/Surface.h"

#include <string_view>

namespace assetgen {

class MonthTitles {
public:
    static constexpr int width = 240;
    static constexpr int height = 28;

    static std::string_view monthName(int month); // 1 = "January"
    static gfx::Surface draw(int month);
};

} // namespace assetgen
