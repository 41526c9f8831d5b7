#pragma once
// Small emblems of the months (a snowflake for January, a heart for February …), drawn into a
// smooth canvas around a centre point at a given size; the month titles carry them.

#include "SmoothCanvas.h"

namespace assetgen {

class SeasonMotifs {
public:
    // month 1 to 12; `size` is the emblem's height in final pixels.
    static void draw(SmoothCanvas& canvas, int month, PointF centre, double size);
};

} // namespace assetgen
