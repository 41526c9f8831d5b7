#pragma once
// The 240 × 12 strips of the views: the day bar over the month grid, the week bar of the day view
// and the time bar of the hours.

#include "platform/gfx/Surface.h"

namespace assetgen {

class ViewStrips {
public:
    static constexpr int width = 240;
    static constexpr int height = 12;

    // The weekday names over the seven columns of the month grid: the grid's columns are a
    // seventh of its width rounded down, and the last one takes what is left.
    static gfx::Surface dayBar();
    // The weekday names in sevenths of the width, where the day view marks the current weekday
    // with a dark band and its name in white over this strip.
    static gfx::Surface weekBar();
    // A scale of the day's 24 hours, every third one named.
    static gfx::Surface timeBar();
};

} // namespace assetgen
