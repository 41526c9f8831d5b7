#pragma once
// CTavrelOutlinedText: the light title text with a one-pixel black outline that the views write
// over their month title pictures (the year, the day view's date, the week's range). The text is
// drawn four times in black, moved by (-2, 0), (-1, -1), (-1, +1) and (0, 0), and once in the
// light colour 0xFFC0C0 moved by (-1, 0), all with a transparent background.

#include "platform/gfx/Painter.h"

class CTavrelOutlinedText {
public:
    static constexpr gfx::Colour Light = 0xFFC0C0;
    // Right-aligned text keeps this many pixels from the rectangle's right edge, so that its
    // outline stays inside the picture instead of running into the edge of the screen.
    static constexpr int RightMargin = 2;

    static void Draw(gfx::Painter& dc, device::WideView text, const gfx::Rect& rect, unsigned format);
};
