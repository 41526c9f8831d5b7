#pragma once
// The month title strips (240 × 28): the month's name on a band in the month's colours, with its
// emblem where there is room. The views write their title over the right part of the strip (light
// text with a dark outline, right- and bottom-aligned: the year of the month, "Tue 8th, 2026" of the
// day), so the name keeps to the left of the widest such text and the right part holds nothing but
// the band.

#include "platform/gfx/Font.h"
#include "platform/gfx/Surface.h"

#include <string_view>

namespace assetgen {

class MonthTitles {
public:
    static constexpr int width = 240;
    static constexpr int height = 28;

    static constexpr int textLeft = 5; // where the name starts
    static constexpr int gap = 6;      // between the name's room and the title text

    static std::string_view monthName(int month); // 1 = "January"
    static gfx::Surface draw(int month);
    // The width kept clear at the right for the views' title text, outline included.
    static int titleTextWidth();

private:
    static int nameRoom();
    static gfx::Font nameFont(std::u16string_view name);
};

} // namespace assetgen
