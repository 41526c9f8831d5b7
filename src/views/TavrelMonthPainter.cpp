#include "views/TavrelMonthPainter.h"

#include "data/TavrelReaderView.h"
#include "platform/gfx/PainterStateSaver.h"
#include "views/TavrelOutlinedText.h"
#include "views/TavrelViewMessages.h"

#include <algorithm>
#include <array>

namespace {

constexpr unsigned TitleTextFormat = gfx::DT_RIGHT | gfx::DT_BOTTOM | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;
constexpr unsigned DayNumberFormat = gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;

} // namespace

CTavrelMonthPainter::CTavrelMonthPainter(CTavrelRenderContext& context, const CTavrelAppearance& appearance)
    : m_context(context), m_appearance(appearance)
{
}

CTavrelMonthPainter::Geometry CTavrelMonthPainter::Measure(const gfx::Rect& area, const CTavrelDay& date) const
{
    const CTavrelImage& dayBar = m_appearance.GetDayBar();
    Geometry geometry;
    geometry.scale = Scale(area.width(), dayBar.GetWidth());
    const int s = geometry.scale;
    geometry.title = {area.left, area.top, area.right, area.top + s * TitleHeight / 100};
    geometry.dayBar = gfx::Rect::fromPositionAndSize(area.left, geometry.title.bottom, dayBar.GetWidth() * s / 100,
                                                     dayBar.GetHeight() * s / 100);
    geometry.grid = {area.left, geometry.dayBar.bottom, area.right, area.bottom};
    const CTavrelDay first(date.year, date.month, 1);
    geometry.firstWeekday = first.Start().GetDayOfWeek() - 1;
    geometry.days = CTavrelDay::DaysInMonth(date.year, date.month);
    geometry.lastRow = (geometry.firstWeekday + geometry.days - 1) / 7;
    return geometry;
}

void CTavrelMonthPainter::Paint(const gfx::Rect& area, const CTavrelDay& date, bool markSelected)
{
    if (m_appearance.GetDayBar().GetWidth() <= 0 || CTavrelDay::DaysInMonth(date.year, date.month) == 0)
        return;
    gfx::Painter& dc = m_context.dc;
    const gfx::PainterStateSaver saved(dc);
    const Geometry geometry = Measure(area, date);
    m_context.layout.firstWeekday = geometry.firstWeekday;
    m_context.layout.titleArea = geometry.title;

    PaintTitle(geometry, date);
    PaintCells(geometry, date, markSelected);

    // The background lies over the grid, so the lines, fillers and marks show through it.
    const CTavrelImage& background = m_appearance.GetBackground();
    if (m_context.mode == CTavrelReaderView::Quarterly)
        background.Blend(dc, geometry.grid.left, geometry.grid.top, m_appearance.GetFadeLevel(), geometry.grid.width(),
                         geometry.grid.height(), CTavrelImage::TopLeftColour);
    else
        background.Blend(dc, geometry.grid.left, geometry.grid.top, m_appearance.GetFadeLevel(), -1, -1,
                         CTavrelImage::TopLeftColour);

    PaintEvents(geometry, date);
    PaintDayNumbers(geometry, date);
}

void CTavrelMonthPainter::PaintTitle(const Geometry& geometry, const CTavrelDay& date)
{
    gfx::Painter& dc = m_context.dc;
    const gfx::Rect& title = geometry.title;
    m_appearance.GetMonthTitle().Draw(dc, title.left, title.top, title.width(), title.height());

    const ui::WParam year = ui::WParam(date.year);
    if (m_context.mode == CTavrelReaderView::Quarterly) {
        m_context.AddTap(VM_SHOW_MONTHLY, year, date.month * 100, title);
    } else {
        // The left half opens the month menu, the right half the quarter.
        const int middle = (title.left + title.right) / 2;
        m_context.AddTap(VM_SHOW_MONTHLY, year, date.MonthDay(), {title.left, title.top, middle, title.bottom});
        m_context.AddTap(VM_SHOW_QUARTERLY, year, date.MonthDay(), {middle + 1, title.top, title.right, title.bottom});
    }

    const int yearPoints = std::max(1, m_context.settings.yearFontSize * geometry.scale / 100);
    dc.selectFont(gfx::Font::fromPoints(m_context.settings.yearFontName.View(), yearPoints));
    CQoString yearText;
    yearText.Format(u"%ld", date.year);
    CTavrelOutlinedText::Draw(dc, yearText.View(), title, TitleTextFormat);

    const gfx::Rect& bar = geometry.dayBar;
    m_appearance.GetDayBar().Draw(dc, bar.left, bar.top, bar.width(), bar.height());
    m_context.AddTap(VM_SHOW_WEEKLY, year, date.MonthDay(), bar);
}

void CTavrelMonthPainter::PaintCells(const Geometry& geometry, const CTavrelDay& date, bool markSelected)
{
    gfx::Painter& dc = m_context.dc;
    const gfx::Rect& grid = geometry.grid;
    const int columnWidth = grid.width() / 7;
    const int rowHeight = grid.height() / (geometry.lastRow + 1);
    const gfx::Pen gridPen = gfx::Pen::solid(gfx::colours::black);
    const gfx::Pen markPen = gfx::Pen::solid(MarkColour);
    const gfx::Colour filler = FillerColour;
    const bool checkOff = m_context.settings.checkOffDays && m_context.today.year == date.year
                          && m_context.today.month == date.month;
    const ui::WParam year = ui::WParam(date.year);

    for (int row = 0; row <= geometry.lastRow; ++row) {
        for (int column = 0; column < 7; ++column) {
            const int index = row * 7 + column;
            const int day = index - geometry.firstWeekday + 1;
            gfx::Rect cell;
            cell.left = grid.left + column * columnWidth;
            cell.right = column == 6 ? grid.right : grid.left + (column + 1) * columnWidth;
            cell.top = grid.top + row * rowHeight;
            cell.bottom = row == geometry.lastRow ? grid.bottom : grid.top + (row + 1) * rowHeight;
            m_context.layout.cells[std::size_t(index)] = cell;

            const bool inMonth = day >= 1 && day <= geometry.days;
            if (day < 1) {
                m_context.AddTap(VM_PREVIOUS, 0, 0, cell);
            } else if (day > geometry.days) {
                m_context.AddTap(VM_NEXT, 0, 0, cell);
            } else {
                const CTavrelDay cellDay(date.year, date.month, day);
                m_context.AddTap(VM_SELECT_DAY, year, cellDay.MonthDay(), cell);
                m_context.AddDay(cellDay, cell);
            }

            if (!inMonth) {
                dc.fillRect(cell, filler);
            } else if (checkOff && day < date.day) {
                dc.selectPen(markPen);
                dc.moveTo(cell.left, cell.top);
                dc.lineTo(cell.right, cell.bottom);
                dc.moveTo(cell.left, cell.bottom);
                dc.lineTo(cell.right, cell.top);
            }
            if (markSelected && inMonth && day == date.day) {
                dc.selectPen(markPen);
                dc.selectBrush(gfx::Brush::solid(gfx::colours::white));
                dc.rectangle(cell.left + 1, cell.top + 1, cell.right, cell.bottom);
            }
            dc.selectPen(gridPen);
            dc.moveTo(grid.left, cell.top);
            dc.lineTo(grid.right, cell.top);
            dc.moveTo(cell.left, grid.top);
            dc.lineTo(cell.left, grid.bottom);
        }
    }
}

void CTavrelMonthPainter::PaintEvents(const Geometry& geometry, const CTavrelDay& date)
{
    const int days = geometry.days;
    const device::OleDateTime monthStart = CTavrelDay(date.year, date.month, 1).Start();
    const device::OleDateTime monthEnd = CTavrelDay(date.year, date.month, days).End();
    const std::vector<CTavrelEvent*> events = m_context.EventsBetween(monthStart, monthEnd);
    if (events.empty())
        return;

    // The days of the month each event touches: its start's day (the 1st when it began earlier)
    // to the day of its last moment (the last when it ends later; an all-day event's End is
    // midnight of its last day).
    struct Span {
        CTavrelEvent* event;
        int first;
        int last;
    };
    std::vector<Span> spans;
    spans.reserve(events.size());
    for (CTavrelEvent* event : events) {
        const int first = event->GetStart() < monthStart ? 1 : event->GetStart().GetDay();
        const device::OleDateTime lastMoment = event->GetLastMoment();
        const int last = lastMoment > monthEnd ? days : lastMoment.GetDay();
        spans.push_back({event, first, last});
    }

    // How many events touch each day: a day with more than one gets its icons in quarters. An
    // event touches a day when it starts or ends in it or runs through it, which for an event
    // that ends after it starts is every day of its span.
    std::array<int, CTavrelMonthLayout::CellCount> count{};
    std::array<int, CTavrelMonthLayout::CellCount> placed{};
    for (const Span& span : spans) {
        if (span.first <= span.last) {
            for (int day = span.first; day <= span.last; ++day)
                ++count[std::size_t(geometry.firstWeekday + day - 1)];
        } else { // ends before it starts: only the two days it names
            for (int day : {span.last, span.first})
                if (day >= 1 && day <= days)
                    ++count[std::size_t(geometry.firstWeekday + day - 1)];
        }
    }

    gfx::Painter& dc = m_context.dc;
    const CTavrelImage& more = m_context.icons.GetMore();
    const bool monthly = m_context.mode != CTavrelReaderView::Quarterly;
    for (const Span& span : spans) {
        CTavrelEvent* event = span.event;
        const int first = span.first;
        const int last = span.last;
        const CTavrelImage* icon = m_context.icons.IconFor(*event, m_context.settings.displayDefaultIcons);
        for (int day = first; day <= last; ++day) {
            const std::size_t cellIndex = std::size_t(geometry.firstWeekday + day - 1);
            const gfx::Rect& cell = m_context.layout.cells[cellIndex];
            gfx::Rect drawn;
            if (icon) {
                if (placed[cellIndex] < 3) {
                    gfx::Rect place = cell;
                    if (count[cellIndex] >= 2) {
                        const gfx::Point centre = cell.centre();
                        switch (placed[cellIndex]) {
                        case 0:
                            place = {centre.x, cell.top, cell.right, centre.y - 1};
                            break;
                        case 1:
                            place = {cell.left, centre.y, centre.x, cell.bottom};
                            break;
                        default:
                            place = {centre.x, centre.y, cell.right, cell.bottom};
                            break;
                        }
                    }
                    if (day == first) {
                        drawn = FitIcon(dc, place, *icon, 100);
                    } else {
                        drawn = FitIcon(dc, place, *icon, FadedIconLevel);
                        if (monthly && !drawn.isEmpty())
                            m_context.AddTapAtHead(VM_EVENT_MENU, TapRegion::TapPoint, EventParameter(event), drawn);
                    }
                    ++placed[cellIndex];
                } else if (more.IsLoaded()) {
                    // A full cell: the marker in its corner stands for this event too, so a tap
                    // on it lists the event with the others that start there.
                    drawn = gfx::Rect::fromPositionAndSize(cell.right - more.GetWidth(), cell.bottom - more.GetHeight(),
                                                           more.GetWidth(), more.GetHeight());
                    more.DrawTransparent(dc, drawn.left, drawn.top, -1, -1, CTavrelImage::TopLeftColour);
                }
            }
            if (day == first)
                event->SetBounds(drawn);
        }
    }
}

void CTavrelMonthPainter::PaintDayNumbers(const Geometry& geometry, const CTavrelDay& date)
{
    gfx::Painter& dc = m_context.dc;
    const int points = std::max(6, m_context.settings.dayFontSize * geometry.scale / 100);
    dc.selectFont(gfx::Font::fromPoints(m_context.settings.dayFontName.View(), points));
    dc.setTextColour(gfx::colours::black);
    dc.setBackgroundMode(gfx::TRANSPARENT);
    const bool todayInMonth = m_context.today.year == date.year && m_context.today.month == date.month;
    for (int day = 1; day <= geometry.days; ++day) {
        const gfx::Rect& cell = Cell(geometry, day);
        CQoString text;
        text.Format(u" %ld", day);
        // Inside the grid lines: a digit whose top row touches the cell's top line loses it to
        // the line ("19" reads as "13" in the small quarter cells).
        const gfx::Rect inside{cell.left + 1, cell.top + 1, cell.right, cell.bottom};
        dc.drawText(text.View(), inside, DayNumberFormat);
        if (todayInMonth && day == m_context.today.day)
            dc.drawText(text.View(), inside.translated(1, 0), DayNumberFormat); // bold: once more, a pixel over
    }
}

gfx::Rect CTavrelMonthPainter::FitIcon(gfx::Painter& dc, const gfx::Rect& area, const CTavrelImage& icon, int opacity)
{
    const int iconWidth = icon.GetWidth();
    const int iconHeight = icon.GetHeight();
    if (iconWidth <= 0 || iconHeight <= 0)
        return {};
    const double available = double(area.width() - 1);
    const double availableHeight = double(area.height() - 1);
    double width = iconWidth;
    double height = iconHeight;
    if (available < iconWidth || availableHeight < iconHeight) {
        if (available <= 0 || availableHeight <= 0)
            return {};
        const double ratio = double(iconWidth) / double(iconHeight);
        if (iconWidth / available > iconHeight / availableHeight) {
            width = available;
            height = available / ratio;
        } else {
            height = availableHeight;
            width = ratio * availableHeight;
        }
    }
    const int drawnWidth = int(width);
    const int drawnHeight = int(height);
    if (drawnWidth <= 0 || drawnHeight <= 0)
        return {};
    const gfx::Rect drawn{area.right - drawnWidth, area.bottom - drawnHeight, area.right, area.bottom};
    if (opacity >= 100)
        icon.DrawTransparent(dc, drawn.left, drawn.top, drawnWidth, drawnHeight, CTavrelImage::TopLeftColour);
    else
        icon.Blend(dc, drawn.left, drawn.top, opacity, drawnWidth, drawnHeight, icon.GetPixel(0, 0));
    return drawn;
}
