#pragma once
// CTavrelWeekPainter: the weekly mode — the week's range ("12/6/2026-12/12/2026") over the month
// title picture, a header band with each day's letter and number, 24 hour rows in the two hour
// colours, and seven day columns from Sunday to Saturday.
//
// Each event is a Busy bar in every column it touches; the background is blended over the bars,
// then the events that have an icon get a darker outline and, on the day they start, their icon
// at the bar's top left. Bars are tap regions that open the event's menu; a column opens its day.

#include "views/TavrelAppearance.h"
#include "views/TavrelHourLayout.h"
#include "views/TavrelRenderContext.h"

class CTavrelWeekPainter {
public:
    static constexpr gfx::Colour BandColour = 0xFF8080;
    static constexpr int HourLabelPoints = 7;

    CTavrelWeekPainter(CTavrelRenderContext& context, const CTavrelAppearance& appearance);

    void Paint(const gfx::Rect& area, const CTavrelDay& date);

    // "12/6/2026-12/12/2026": the Sunday and the Saturday of the date's week.
    static CQoString TitleText(const CTavrelDay& date);
    // The Sunday of the date's week.
    static device::OleDateTime WeekStart(const CTavrelDay& date);
    // The Busy colour with each of red, green and blue halved.
    static gfx::Colour OutlineColour(gfx::Colour busy) { return (busy >> 1) & 0x7F7F7F; }

private:
    struct Columns {
        int left = 0;  // x0: where the first column begins
        int width = 0; // W: the width the seven columns share
        gfx::Rect Column(int index, const gfx::Rect& area, int top) const
        {
            return {left + index * width / 7, top, left + (index + 1) * width / 7, area.bottom};
        }
    };

    void PaintColumns(const CTavrelHourLayout& layout, const Columns& columns, const CTavrelDay& date,
                      const device::OleDateTime& sunday);
    void PaintBars(const CTavrelHourLayout& layout, const Columns& columns, const device::OleDateTime& sunday);
    void PaintIcons(const CTavrelHourLayout& layout, const Columns& columns, const device::OleDateTime& sunday);

    CTavrelRenderContext& m_context;
    const CTavrelAppearance& m_appearance;
    gfx::Rect m_area;
};
