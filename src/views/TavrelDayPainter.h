#pragma once
// CTavrelDayPainter: the daily mode — the date as "Sat 6th, 2003" over the month title picture,
// the week bar with the day's weekday highlighted, 24 hour rows (even hours tinted) under the
// faded background, and one box per event of the day.
//
// Boxes: each spans its event's time (at least the height of a line of text plus 4) with a Busy
// strip along its left edge, and grows to hold its wrapped text. A box that overlaps earlier
// boxes takes the next column: every earlier box it intersects counts one more column, and the
// new box takes the last such count as both its column and its column count. Boxes sharing the
// width divide it by their count.

#include "views/TavrelAppearance.h"
#include "views/TavrelHourLayout.h"
#include "views/TavrelRenderContext.h"

#include <vector>

class CTavrelDayPainter {
public:
    static constexpr gfx::Colour EvenHourColour = 0xFFC0C0;
    static constexpr gfx::Colour WeekdayHighlight = 0x400000;
    static constexpr int HourLabelPoints = 6;
    static constexpr int BoxFontPoints = 8;
    static constexpr int StripWidth = 6;

    // One event's box in the day.
    struct Box {
        CTavrelEvent* event = nullptr;
        int column = 1; // 1-based
        int count = 1;  // columns sharing the width with it
        gfx::Rect rect;
        int startOffset = 0; // the event's time within the day, below the rows' top
        int endOffset = 0;
    };

    CTavrelDayPainter(CTavrelRenderContext& context, const CTavrelAppearance& appearance, const CTavrelImage& weekBar);

    void Paint(const gfx::Rect& area, const CTavrelDay& date);
    // The boxes of the last Paint, in snapshot order, as drawn.
    const std::vector<Box>& GetBoxes() const { return m_boxes; }

    // "Sat 6th, 2003".
    static CQoString TitleText(const CTavrelDay& date);

private:
    void PlaceBoxes(const CTavrelHourLayout& layout, const gfx::Rect& eventsArea, int minimumHeight,
                    const device::OleDateTime& dayStart, const device::OleDateTime& dayEnd);
    void DrawBoxes(const CTavrelHourLayout& layout, const gfx::Rect& eventsArea, const device::OleDateTime& dayStart,
                   const device::OleDateTime& dayEnd);
    // Moves a box up so that it ends at the area's bottom when it reaches below it.
    // Where a box's text goes inside its border.
    static gfx::Rect TextInside(const gfx::Rect& box);
    void KeepInside(gfx::Rect& box) const;

    CTavrelRenderContext& m_context;
    const CTavrelAppearance& m_appearance;
    const CTavrelImage& m_weekBar;
    gfx::Rect m_area;
    std::vector<Box> m_boxes;
};
