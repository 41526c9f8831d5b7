#include "views/TavrelWeekPainter.h"

#include "platform/device/LocaleNames.h"
#include "platform/gfx/PainterStateSaver.h"
#include "views/TavrelViewMessages.h"

namespace {

constexpr unsigned HeaderFormat = gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;

device::OleDateTime DayOfWeek(const device::OleDateTime& sunday, int index)
{
    return sunday + device::OleDateTimeSpan(index, 0, 0, 0);
}

} // namespace

CTavrelWeekPainter::CTavrelWeekPainter(CTavrelRenderContext& context, const CTavrelAppearance& appearance)
    : m_context(context), m_appearance(appearance)
{
}

device::OleDateTime CTavrelWeekPainter::WeekStart(const CTavrelDay& date)
{
    const device::OleDateTime start = date.Start();
    return start - device::OleDateTimeSpan(start.GetDayOfWeek() - 1, 0, 0, 0);
}

CQoString CTavrelWeekPainter::TitleText(const CTavrelDay& date)
{
    const device::OleDateTime sunday = WeekStart(date);
    const device::OleDateTime saturday = DayOfWeek(sunday, 6);
    CQoString text;
    text.Format(u"%s-%s", sunday.Format().c_str(), saturday.Format().c_str());
    return text;
}

void CTavrelWeekPainter::Paint(const gfx::Rect& area, const CTavrelDay& date)
{
    gfx::Painter& dc = m_context.dc;
    const gfx::PainterStateSaver saved(dc);
    m_area = area;
    dc.fillRect(area, gfx::colours::white);
    const CTavrelHourLayout layout(area, m_appearance.GetDayBar().GetHeight());
    layout.PaintTitle(m_context, m_appearance, date, TitleText(date));
    dc.fillRect(layout.GetBarBand(), BandColour);

    const gfx::Font labelFont = gfx::Font::fromPoints(m_context.settings.dayFontName.View(), HourLabelPoints);
    layout.PaintHourRows(dc, labelFont, m_context.settings.hour1, m_context.settings.hour2);
    dc.selectFont(labelFont);
    Columns columns;
    columns.left = area.left + dc.textExtent(u"12p ").width;
    columns.width = area.right - columns.left;

    const device::OleDateTime sunday = WeekStart(date);
    PaintColumns(layout, columns, date, sunday);
    PaintBars(layout, columns, sunday);
    const gfx::Rect& rows = layout.GetHourRows();
    m_appearance.GetBackground().Blend(dc, rows.left, rows.top, m_appearance.GetFadeLevel(), -1, -1,
                                       CTavrelImage::TopLeftColour);
    PaintIcons(layout, columns, sunday);
}

void CTavrelWeekPainter::PaintColumns(const CTavrelHourLayout& layout, const Columns& columns, const CTavrelDay& date,
                                      const device::OleDateTime& sunday)
{
    gfx::Painter& dc = m_context.dc;
    const gfx::Rect& band = layout.GetBarBand();
    const gfx::Rect& rows = layout.GetHourRows();
    dc.setTextColour(gfx::colours::black);
    dc.setBackgroundMode(gfx::TRANSPARENT);
    dc.selectPen(gfx::Pen::solid(gfx::colours::black));
    for (int index = 0; index < 7; ++index) {
        const CTavrelDay day = CTavrelDay::Of(DayOfWeek(sunday, index));
        const gfx::Rect column = columns.Column(index, m_area, band.top);
        m_context.AddTap(VM_SHOW_DAILY, ui::WParam(day.year), day.MonthDay(), column);
        m_context.AddDay(day, {column.left, rows.top, column.right, column.bottom});

        CQoString header;
        header.Format(u" %s %d", device::WideString(device::LocaleNames::weekdayName(index).substr(0, 1)).c_str(),
                      day.day);
        dc.drawText(header.View(), column, HeaderFormat);
        if (day.day == date.day)
            dc.drawText(header.View(), column.translated(1, 0), HeaderFormat);

        dc.moveTo(column.left, band.top);
        dc.lineTo(column.left, m_area.bottom);
    }
}

void CTavrelWeekPainter::PaintBars(const CTavrelHourLayout& layout, const Columns& columns,
                                   const device::OleDateTime& sunday)
{
    const int rowsTop = layout.GetHourRows().top;
    for (int index = 0; index < 7; ++index) {
        const CTavrelDay day = CTavrelDay::Of(DayOfWeek(sunday, index));
        const device::OleDateTime dayStart = day.Start();
        const device::OleDateTime dayEnd = day.End();
        const gfx::Rect column = columns.Column(index, m_area, rowsTop);
        for (CTavrelEvent* event : m_context.EventsBetween(dayStart, dayEnd)) {
            const gfx::Rect bar{column.left + 2, rowsTop + layout.StartOffset(*event, dayStart), column.right - 1,
                                rowsTop + layout.EndOffset(*event, dayEnd)};
            m_context.dc.fillRect(bar, m_context.settings.busy);
            m_context.AddTapAtHead(VM_EVENT_MENU, TapRegion::TapPoint, EventParameter(event), bar);
        }
    }
}

void CTavrelWeekPainter::PaintIcons(const CTavrelHourLayout& layout, const Columns& columns,
                                    const device::OleDateTime& sunday)
{
    gfx::Painter& dc = m_context.dc;
    const int rowsTop = layout.GetHourRows().top;
    dc.selectPen(gfx::Pen::solid(OutlineColour(m_context.settings.busy)));
    const int tenth = columns.width / 10;
    for (int index = 0; index < 7; ++index) {
        const CTavrelDay day = CTavrelDay::Of(DayOfWeek(sunday, index));
        const device::OleDateTime dayStart = day.Start();
        const device::OleDateTime dayEnd = day.End();
        const gfx::Rect column = columns.Column(index, m_area, rowsTop);
        for (CTavrelEvent* event : m_context.EventsBetween(dayStart, dayEnd)) {
            const CTavrelImage* icon = m_context.icons.IconFor(*event, m_context.settings.displayDefaultIcons);
            if (!icon)
                continue;
            const int x1 = column.left + 2;
            const int x2 = column.right - 1;
            const int y1 = rowsTop + layout.StartOffset(*event, dayStart);
            const int y2 = rowsTop + layout.EndOffset(*event, dayEnd);
            if (y2 - y1 > 2) {
                dc.moveTo(x1, y1);
                dc.lineTo(x2 - 1, y1);
                dc.lineTo(x2 - 1, y2);
                dc.lineTo(x1, y2);
                dc.lineTo(x1, y1);
            }
            if (event->GetStart() < dayStart)
                continue; // the icon stands on the day the event starts
            const int scale = icon->GetWidth() > tenth ? tenth * 100 / icon->GetWidth() : 100;
            gfx::Rect drawn = gfx::Rect::fromPositionAndSize(x1, y1, icon->GetWidth() * scale / 100,
                                                             icon->GetHeight() * scale / 100);
            if (drawn.bottom > m_area.bottom)
                drawn = drawn.translated(0, m_area.bottom - drawn.bottom);
            icon->DrawTransparent(dc, drawn.left, drawn.top, drawn.width(), drawn.height(), CTavrelImage::TopLeftColour);
            event->SetBounds(drawn);
        }
    }
}
