#pragma once
// CTavrelMonthPainter: one month as a grid of day cells under its title picture and day bar —
// the whole view in the monthly mode, a quarter of it in the quarterly mode.
//
// Everything scales with s = area width × 100 ÷ day bar width (integer percent): the title is
// s × 28 ÷ 100 pixels high, the day bar is drawn at s percent of its size, the fonts are scaled
// the same way. The grid below them has as many rows as the month needs (4 to 6) and the last row
// and column take what the integer divisions leave over.
//
// Order of drawing: title picture and the outlined year, day bar, cells (filler for days of other
// months, check-off crosses, the selected day's frame, grid lines), the background blended over
// all of it at the month's fade level, the event icons, and the day numbers on top.
//
// Events: a day with one event shows its icon over the whole cell; with more, the icons go to the
// top-right, bottom-left and bottom-right quarters in snapshot order (the top-left quarter keeps
// the day number free), and a fourth and later event draw the "more" marker in the corner. An
// event's icon is solid on its first day in the month and faded (45 %) on the days it continues
// through; in the monthly mode those faded icons are tap regions that open the event's menu.

#include "views/TavrelAppearance.h"
#include "views/TavrelRenderContext.h"

class CTavrelMonthPainter {
public:
    static constexpr int TitleHeight = 28; // of a month title picture drawn at scale 100
    static constexpr gfx::Colour FillerColour = 0xFFC0C0;
    static constexpr gfx::Colour MarkColour = 0x0000FF;
    static constexpr int FadedIconLevel = 45;

    CTavrelMonthPainter(CTavrelRenderContext& context, const CTavrelAppearance& appearance);

    // Paints the month of `date` into `area`. `date` is the date the painter works with (its day
    // decides the check-off crosses and the day the title and day bar regions carry); with
    // `markSelected` its cell is framed as the selected day. Nothing is painted without a day bar.
    void Paint(const gfx::Rect& area, const CTavrelDay& date, bool markSelected);

    // Draws the icon into the bottom-right corner of `area`: at its own size when it fits with a
    // pixel to spare, else scaled down keeping its proportions. Opacity 100 draws it solid, a
    // lower one blends it; either way its top-left pixel's colour is left out. Returns the
    // rectangle drawn (empty when nothing fits).
    static gfx::Rect FitIcon(gfx::Painter& dc, const gfx::Rect& area, const CTavrelImage& icon, int opacity);

    // The scale in percent of an area of this width over a day bar of that width.
    static int Scale(int areaWidth, int dayBarWidth) { return dayBarWidth > 0 ? areaWidth * 100 / dayBarWidth : 0; }

private:
    struct Geometry {
        int scale = 0;
        gfx::Rect title;
        gfx::Rect dayBar;
        gfx::Rect grid;
        int firstWeekday = 0;
        int days = 0;
        int lastRow = 0;
    };

    Geometry Measure(const gfx::Rect& area, const CTavrelDay& date) const;
    void PaintTitle(const Geometry& geometry, const CTavrelDay& date);
    void PaintCells(const Geometry& geometry, const CTavrelDay& date, bool markSelected);
    void PaintEvents(const Geometry& geometry, const CTavrelDay& date);
    void PaintDayNumbers(const Geometry& geometry, const CTavrelDay& date);
    gfx::Rect& Cell(const Geometry& geometry, int day) const
    {
        return m_context.layout.cells[std::size_t(geometry.firstWeekday + day - 1)];
    }

    CTavrelRenderContext& m_context;
    const CTavrelAppearance& m_appearance;
};
