#include "views/TavrelAgendaPainter.h"

#include "platform/gfx/PainterStateSaver.h"
#include "platform/ui/Desktop.h"
#include "views/TavrelEventText.h"
#include "views/TavrelViewMessages.h"

#include <algorithm>

namespace {

constexpr unsigned LineFormat = gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX;
constexpr unsigned TitleFormat = gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;

} // namespace

void CTavrelAgendaPainter::Paint(const gfx::Rect& area, const CTavrelDay& date)
{
    gfx::Painter& dc = m_context.dc;
    const gfx::PainterStateSaver saved(dc);
    dc.intersectClipRect(area);
    const int scale = area.width() * 100 / ui::Desktop::screenWidth;
    const int points = std::max(7, m_context.settings.dayFontSize * scale / 100);
    dc.selectFont(gfx::Font::fromPoints(m_context.settings.dayFontName.View(), points));
    dc.setBackgroundMode(gfx::TRANSPARENT);
    dc.setTextColour(gfx::colours::black);
    dc.fillRect({area.left + 1, area.top + 1, area.right, area.bottom}, gfx::colours::white);

    const device::OleDateTime dayStart = date.Start();
    const device::OleDateTime dayEnd = date.End();
    CQoString title;
    title.Format(u"Agenda for %s", dayStart.Format().c_str());
    gfx::Rect titleRect = area;
    dc.drawText(title.View(), titleRect, TitleFormat | gfx::DT_CALCRECT);
    dc.drawText(title.View(), area, TitleFormat);
    dc.selectPen(gfx::Pen::solid(RuleColour));
    dc.moveTo(area.left, titleRect.bottom);
    dc.lineTo(area.right, titleRect.bottom);

    const gfx::Rect list{area.left + 2, titleRect.bottom + 2, area.right - 2, area.bottom - 2};
    int top = list.top;
    for (CTavrelEvent* event : m_context.EventsBetween(dayStart, dayEnd)) {
        if (top >= list.bottom)
            break;
        const CQoString line = CTavrelEventText::AgendaLine(*event, dayStart, dayEnd);
        gfx::Rect measured{list.left, top, list.right, list.bottom};
        dc.drawText(line.View(), measured, LineFormat | gfx::DT_CALCRECT);
        m_context.AddTap(VM_OPEN_EVENT, 0, EventParameter(event), measured);
        dc.drawText(line.View(), gfx::Rect{list.left, top, list.right, measured.bottom}, LineFormat);
        top = measured.bottom + 1;
    }
}
