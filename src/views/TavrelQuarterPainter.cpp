#include "views/TavrelQuarterPainter.h"

#include "platform/gfx/PainterStateSaver.h"
#include "views/TavrelAgendaPainter.h"
#include "views/TavrelMonthPainter.h"

namespace {

int MiddleX(const gfx::Rect& area) { return area.left + (area.right - area.left) / 2; }
int MiddleY(const gfx::Rect& area) { return area.top + (area.bottom - area.top) / 2; }

} // namespace

CTavrelQuarterPainter::CTavrelQuarterPainter(CTavrelRenderContext& context, MonthLoader loadMonth)
    : m_context(context), m_loadMonth(std::move(loadMonth))
{
}

CTavrelQuarterPainter::Quarters CTavrelQuarterPainter::Split(const gfx::Rect& area)
{
    const int midX = MiddleX(area);
    const int midY = MiddleY(area);
    Quarters quarters;
    quarters.months[0] = {area.left, area.top, midX, midY - 1};
    quarters.months[1] = {midX, area.top, area.right, midY - 1};
    quarters.months[2] = {area.left, midY, midX, area.bottom};
    quarters.agenda = {midX + 1, midY, area.right, area.bottom};
    return quarters;
}

void CTavrelQuarterPainter::Paint(const gfx::Rect& area, const CTavrelDay& date)
{
    gfx::Painter& dc = m_context.dc;
    dc.fillRect(area, gfx::colours::white);
    const Quarters quarters = Split(area);
    const int firstMonth = (date.month - 1) / 3 * 3 + 1;
    for (int i = 0; i < 3; ++i) {
        const CTavrelDay painted = CTavrelDay(date.year, firstMonth + i, date.day).Clamped();
        const CTavrelAppearance& appearance = m_loadMonth(painted.month);
        CTavrelMonthPainter(m_context, appearance).Paint(quarters.months[i], painted, painted.month == date.month);
    }

    const int midX = MiddleX(area);
    const int midY = MiddleY(area);
    {
        const gfx::PainterStateSaver saved(dc);
        dc.selectPen(gfx::Pen::solid(DividerColour));
        dc.moveTo(area.left, midY - 1);
        dc.lineTo(area.right + 1, midY - 1);
        dc.moveTo(midX, area.top);
        dc.lineTo(midX, area.bottom);
    }

    CTavrelAgendaPainter(m_context).Paint(quarters.agenda, date);
}
