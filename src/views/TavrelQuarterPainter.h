#pragma once
// CTavrelQuarterPainter: the quarterly mode — the three months of the date's calendar quarter in
// the top-left, top-right and bottom-left quarters of the view, each drawn by the month painter at
// about half scale, and the agenda of the date in the bottom-right quarter.
//
// Each month is painted with its own pictures and fade level, which `loadMonth` provides (the
// view reloads them; afterwards it holds those of the third month). The months are painted with
// the date's day clamped to their length; only the date's own month marks its selected day. The
// view's current date is never switched while the months are painted.

#include "views/TavrelAppearance.h"
#include "views/TavrelRenderContext.h"

#include <functional>

class CTavrelQuarterPainter {
public:
    using MonthLoader = std::function<const CTavrelAppearance&(int month)>;
    static constexpr gfx::Colour DividerColour = 0x404040;

    CTavrelQuarterPainter(CTavrelRenderContext& context, MonthLoader loadMonth);

    void Paint(const gfx::Rect& area, const CTavrelDay& date);

    // The quarters of an area: the three months' and the agenda's.
    struct Quarters {
        gfx::Rect months[3];
        gfx::Rect agenda;
    };
    static Quarters Split(const gfx::Rect& area);

private:
    CTavrelRenderContext& m_context;
    MonthLoader m_loadMonth;
};
