#include "views/TavrelHourLayout.h"

#include "platform/gfx/PainterStateSaver.h"
#include "views/TavrelEventText.h"
#include "views/TavrelOutlinedText.h"
#include "views/TavrelViewMessages.h"

CTavrelHourLayout::CTavrelHourLayout(const gfx::Rect& area, int barHeight)
    : m_area(area),
      m_barBand{area.left, area.top + TitleBandHeight, area.right, area.top + TitleBandHeight + barHeight},
      m_rows{area.left, m_barBand.bottom, area.right, area.bottom}
{
}

gfx::Rect CTavrelHourLayout::GetRow(int hour) const
{
    const int height = GetRowsHeight();
    return {m_rows.left, m_rows.top + hour * height / 24, m_rows.right, m_rows.top + (hour + 1) * height / 24};
}

int CTavrelHourLayout::Offset(const device::OleDateTime& time) const
{
    return (time.GetHour() * 60 + time.GetMinute()) * GetRowsHeight() / 1440;
}

int CTavrelHourLayout::StartOffset(const CTavrelEvent& event, const device::OleDateTime& dayStart) const
{
    return event.GetStart() < dayStart ? 0 : Offset(event.GetStart());
}

int CTavrelHourLayout::EndOffset(const CTavrelEvent& event, const device::OleDateTime& dayEnd) const
{
    // An all-day event lasts the whole of every day it covers, its last day included.
    if (event.IsAllDay())
        return GetRowsHeight();
    return event.GetEnd() > dayEnd ? GetRowsHeight() : Offset(event.GetEnd());
}

void CTavrelHourLayout::PaintTitle(CTavrelRenderContext& context, const CTavrelAppearance& appearance,
                                   const CTavrelDay& date, const CQoString& text) const
{
    gfx::Painter& dc = context.dc;
    const gfx::Rect title = GetTitleArea();
    context.layout.titleArea = title;
    appearance.GetMonthTitle().Draw(dc, title.left, title.top);
    context.AddTap(VM_SHOW_MONTHLY, ui::WParam(date.year), date.MonthDay(), title);
    const gfx::PainterStateSaver saved(dc);
    dc.selectFont(gfx::Font::fromPoints(context.settings.dayFontName.View(), context.settings.yearFontSize));
    CTavrelOutlinedText::Draw(dc, text.View(), title,
                              gfx::DT_RIGHT | gfx::DT_BOTTOM | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
}

void CTavrelHourLayout::PaintHourRows(gfx::Painter& dc, const gfx::Font& labelFont, gfx::Colour evenHours,
                                      gfx::Colour oddHours) const
{
    const gfx::PainterStateSaver saved(dc);
    dc.selectFont(labelFont);
    dc.setTextColour(gfx::colours::black);
    dc.setBackgroundMode(gfx::TRANSPARENT);
    for (int hour = 0; hour < 24; ++hour) {
        const gfx::Rect row = GetRow(hour);
        dc.fillRect(row, hour % 2 == 0 ? evenHours : oddHours);
        // A pixel in from the edge: a digit's left column against the screen's edge reads as
        // another digit ("3a" as "8a", "1a" as "la").
        dc.drawText(CTavrelEventText::HourLabel(hour).View(), row.translated(LabelInset, 0),
                    gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_NOCLIP);
    }
}
