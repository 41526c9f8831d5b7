#pragma once
// Dialog units as the handheld's dialog templates use them. With its dialog font, Tahoma 8, the
// handheld's base units are an average character 48/7 pixels wide and 14 pixels high, so a
// horizontal unit is a quarter of the first (12/7 pixel) and a vertical unit an eighth of the second
// (7/4 pixel): a full-screen template of 140 × 153 units fills the 240 × 268 pixels between the bars.
// Conversions round to the nearest pixel, as the handheld's MulDiv does.

#include "platform/gfx/Rect.h"

namespace ui {

struct DialogUnits {
    static int toPixelsX(int units);
    static int toPixelsY(int units);
    // A template rectangle given as x, y, width and height in dialog units.
    static gfx::Rect toPixels(int x, int y, int width, int height);
};

} // namespace ui
