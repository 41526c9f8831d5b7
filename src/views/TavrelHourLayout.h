#pragma once
// CTavrelHourLayout: the frame the day and week modes share — a 28-pixel title band (its title
// area 27 pixels high), a bar band as high as the day bar picture, and 24 hour rows dividing the
// rest. A time of day h:m lies (h × 60 + m) × H ÷ 1440 pixels below the rows' top (H their
// height); an event that began on an earlier day starts at the top, one that ends on a later day
// ends at the bottom, and an all-day event runs from top to bottom on every day it covers.

#include "common/QoString.h"
#include "data/TavrelEvent.h"
#include "platform/gfx/Painter.h"
#include "views/TavrelAppearance.h"
#include "views/TavrelRenderContext.h"

class CTavrelHourLayout {
public:
    static constexpr int TitleBandHeight = 28;
    // Hour labels start this many pixels right of the rows' left edge.
    static constexpr int LabelInset = 1;

    CTavrelHourLayout(const gfx::Rect& area, int barHeight);

    const gfx::Rect& GetArea() const { return m_area; }
    gfx::Rect GetTitleArea() const { return {m_area.left, m_area.top, m_area.right, m_area.top + TitleBandHeight - 1}; }
    const gfx::Rect& GetBarBand() const { return m_barBand; }
    const gfx::Rect& GetHourRows() const { return m_rows; }
    int GetRowsHeight() const { return m_rows.height(); }
    // Row h (0-23) across the whole width.
    gfx::Rect GetRow(int hour) const;

    // Offsets below the rows' top of a time of day, and of an event's ends within a day.
    int Offset(const device::OleDateTime& time) const;
    int StartOffset(const CTavrelEvent& event, const device::OleDateTime& dayStart) const;
    int EndOffset(const CTavrelEvent& event, const device::OleDateTime& dayEnd) const;

    // The title band: the month title picture at its own size, a region that opens the month, and
    // the outlined title text at the bottom right in the title font (the day font's face at the
    // year font's size).
    void PaintTitle(CTavrelRenderContext& context, const CTavrelAppearance& appearance, const CTavrelDay& date,
                    const CQoString& text) const;
    // Fills the rows of even hours with one colour and of odd hours with the other and labels
    // each at its top left ("12a", "1a" …, LabelInset in) in the font.
    void PaintHourRows(gfx::Painter& dc, const gfx::Font& labelFont, gfx::Colour evenHours, gfx::Colour oddHours) const;

private:
    gfx::Rect m_area;
    gfx::Rect m_barBand;
    gfx::Rect m_rows;
};
