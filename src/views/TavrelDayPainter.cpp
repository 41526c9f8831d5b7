#include "views/TavrelDayPainter.h"

#include "platform/device/LocaleNames.h"
#include "platform/gfx/PainterStateSaver.h"
#include "views/TavrelEventText.h"
#include "views/TavrelViewMessages.h"

namespace {

constexpr unsigned BoxTextFormat = gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX;

} // namespace

CTavrelDayPainter::CTavrelDayPainter(CTavrelRenderContext& context, const CTavrelAppearance& appearance,
                                     const CTavrelImage& weekBar)
    : m_context(context), m_appearance(appearance), m_weekBar(weekBar)
{
}

CQoString CTavrelDayPainter::TitleText(const CTavrelDay& date)
{
    const int weekday = date.Start().GetDayOfWeek() - 1;
    CQoString text;
    text.Format(u"%s %s, %ld", device::WideString(device::LocaleNames::weekdayName(weekday).substr(0, 3)).c_str(),
                CTavrelEventText::Ordinal(date.day).GetString(), date.year);
    return text;
}

void CTavrelDayPainter::Paint(const gfx::Rect& area, const CTavrelDay& date)
{
    gfx::Painter& dc = m_context.dc;
    const gfx::PainterStateSaver saved(dc);
    m_area = area;
    m_boxes.clear();
    dc.fillRect(area, gfx::colours::white);
    const CTavrelHourLayout layout(area, m_appearance.GetDayBar().GetHeight());
    layout.PaintTitle(m_context, m_appearance, date, TitleText(date));

    // The week bar with the day's seventh picked out.
    const gfx::Rect& band = layout.GetBarBand();
    m_weekBar.Draw(dc, band.left, band.top);
    m_context.AddTap(VM_SHOW_WEEKLY, ui::WParam(date.year), date.MonthDay(), band);
    const int weekday = date.Start().GetDayOfWeek(); // 1 = Sunday
    const int width = area.width();
    const gfx::Rect highlight{area.left + (weekday - 1) * width / 7, band.top, area.left + weekday * width / 7,
                              band.bottom};
    dc.fillRect(highlight, WeekdayHighlight);
    dc.selectFont(gfx::Font());
    dc.setTextColour(gfx::colours::white);
    dc.setBackgroundMode(gfx::TRANSPARENT);
    dc.drawText(device::LocaleNames::weekdayName(weekday - 1).substr(0, 3), highlight,
                gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);

    const gfx::Rect& rows = layout.GetHourRows();
    m_context.AddDay(date, rows);
    const gfx::Font labelFont = gfx::Font::fromPoints(m_context.settings.dayFontName.View(), HourLabelPoints);
    layout.PaintHourRows(dc, labelFont, EvenHourColour, gfx::colours::white);
    m_appearance.GetBackground().Blend(dc, rows.left, rows.top, m_appearance.GetFadeLevel(), -1, -1,
                                       CTavrelImage::TopLeftColour);

    dc.selectFont(labelFont);
    const int labelWidth = dc.textExtent(u"00p ").width;
    const gfx::Rect eventsArea{area.left + labelWidth, rows.top, area.right, area.bottom};
    const device::OleDateTime dayStart = date.Start();
    const device::OleDateTime dayEnd = date.End();
    dc.selectFont(gfx::Font::fromPoints(m_context.settings.dayFontName.View(), BoxFontPoints));
    const int minimumHeight = dc.textExtent(u"Wy").height + 4;
    PlaceBoxes(layout, eventsArea, minimumHeight, dayStart, dayEnd);
    DrawBoxes(layout, eventsArea, dayStart, dayEnd);
}

gfx::Rect CTavrelDayPainter::TextInside(const gfx::Rect& box)
{
    // Clear of the border and the strip, with two rows above the first line where the accents of
    // capitals reach above the text's cell ("Ü", "É").
    return {box.left + 2, box.top + 2, box.right - 1, box.bottom - 1};
}

void CTavrelDayPainter::KeepInside(gfx::Rect& box) const
{
    if (box.bottom > m_area.bottom)
        box = box.translated(0, m_area.bottom - box.bottom);
}

void CTavrelDayPainter::PlaceBoxes(const CTavrelHourLayout& layout, const gfx::Rect& eventsArea, int minimumHeight,
                                   const device::OleDateTime& dayStart, const device::OleDateTime& dayEnd)
{
    const gfx::Rect& rows = layout.GetHourRows();
    for (CTavrelEvent* event : m_context.EventsBetween(dayStart, dayEnd)) {
        Box box;
        box.event = event;
        box.startOffset = layout.StartOffset(*event, dayStart);
        // An all-day event is a line at the top of each day it covers rather than a box that
        // crowds the day's appointments into narrow columns.
        box.endOffset = event->IsAllDay() ? box.startOffset : layout.EndOffset(*event, dayEnd);
        box.rect = {eventsArea.left + 3, rows.top + box.startOffset, eventsArea.right - 2, rows.top + box.endOffset};
        if (box.rect.height() < minimumHeight)
            box.rect.bottom = box.rect.top + minimumHeight;
        KeepInside(box.rect);
        for (Box& earlier : m_boxes)
            if (earlier.rect.intersects(box.rect)) {
                ++earlier.count;
                box.column = box.count = earlier.count;
            }
        m_boxes.push_back(box);
    }
    const int width = eventsArea.width();
    for (Box& box : m_boxes)
        if (box.count > 1) {
            box.rect.left = eventsArea.left + (box.column - 1) * width / box.count;
            box.rect.right = eventsArea.left + box.column * width / box.count - 2;
        }
}

void CTavrelDayPainter::DrawBoxes(const CTavrelHourLayout& layout, const gfx::Rect& eventsArea,
                                  const device::OleDateTime& dayStart, const device::OleDateTime& dayEnd)
{
    gfx::Painter& dc = m_context.dc;
    const gfx::Colour busy = m_context.settings.busy;
    const int rowsTop = layout.GetHourRows().top;
    dc.selectBrush(gfx::Brush::solid(gfx::colours::white));
    dc.selectPen(gfx::Pen::solid(busy));
    dc.setTextColour(gfx::colours::black);
    dc.setBackgroundMode(gfx::TRANSPARENT);
    // Events of the window collection all carry its name as their category; only a category of
    // their own says something worth showing.
    const CQoString collection = m_context.events.GetName();
    for (Box& box : m_boxes) {
        CTavrelEvent& event = *box.event;
        gfx::Rect text = box.rect;
        if (!event.IsAllDay()) {
            dc.fillRect({box.rect.left, rowsTop + box.startOffset, box.rect.left + StripWidth, rowsTop + box.endOffset},
                        busy);
            text.left = box.rect.left + StripWidth;
        }
        CQoString line = CTavrelEventText::DayLine(event, dayStart, dayEnd);
        gfx::Rect measured = TextInside(text);
        dc.drawText(line.View(), measured, BoxTextFormat | gfx::DT_CALCRECT);
        if (measured.bottom + 1 > text.bottom) {
            text.bottom = measured.bottom + 1;
            KeepInside(text);
        }
        box.rect.top = text.top;
        box.rect.bottom = text.bottom;
        dc.rectangle(text);
        m_context.AddTap(VM_OPEN_EVENT, 0, EventParameter(&event), text);
        if (!event.GetClass().IsEmpty() && event.GetClass() != collection) {
            line += u"  (";
            line += event.GetClass().GetString();
            line += u")";
        }
        dc.drawText(line.View(), TextInside(text), BoxTextFormat);

        // Where the event's icon would stand: the views find a tapped event by this rectangle.
        gfx::Rect bounds = gfx::Rect::fromPositionAndSize(eventsArea.left, text.top, 0, 0);
        if (const CTavrelImage* icon = m_context.icons.IconFor(event, m_context.settings.displayDefaultIcons)) {
            const int tenth = eventsArea.width() / 10;
            const int scale = icon->GetWidth() > tenth ? tenth * 100 / icon->GetWidth() : 100;
            bounds.right = bounds.left + icon->GetWidth() * scale / 100;
            bounds.bottom = bounds.top + icon->GetHeight() * scale / 100;
        }
        event.SetBounds(bounds);
    }
}
