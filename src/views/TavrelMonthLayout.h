#pragma once
// CTavrelMonthLayout: what a render leaves behind about where the month lies — the title area
// (where the fade slider and the month menu go), the 42 day cells (6 rows of 7, Sunday first) and
// the column of the 1st. Emptied at the start of every render; cells of rows a month does not
// have stay empty.

#include "platform/gfx/Rect.h"

#include <array>

struct CTavrelMonthLayout {
    static constexpr int CellCount = 42;

    gfx::Rect titleArea;
    std::array<gfx::Rect, CellCount> cells{};
    int firstWeekday = 0; // 0 = Sunday … 6 = Saturday: the column of the 1st

    void Clear() { cells.fill(gfx::Rect{}); }
};
