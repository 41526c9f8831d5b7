#include "views/TavrelOutlinedText.h"

#include "platform/gfx/PainterStateSaver.h"

void CTavrelOutlinedText::Draw(gfx::Painter& dc, device::WideView text, const gfx::Rect& rect, unsigned format)
{
    static constexpr gfx::Point outline[] = {{-2, 0}, {-1, -1}, {-1, 1}, {0, 0}};
    gfx::Rect area = rect;
    if (format & gfx::DT_RIGHT)
        area.right -= RightMargin;
    const gfx::PainterStateSaver saved(dc);
    dc.setBackgroundMode(gfx::TRANSPARENT);
    dc.setTextColour(gfx::colours::black);
    for (gfx::Point offset : outline)
        dc.drawText(text, area.translated(offset), format);
    dc.setTextColour(Light);
    dc.drawText(text, area.translated(-1, 0), format);
}
