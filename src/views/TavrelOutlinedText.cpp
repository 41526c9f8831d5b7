#include "views/TavrelOutlinedText.h"

#include "platform/gfx/PainterStateSaver.h"

void CTavrelOutlinedText::Draw(gfx::Painter& dc, device::WideView text, const gfx::Rect& rect, unsigned format)
{
    static constexpr gfx::Point outline[] = {{-2, 0}, {-1, -1}, {-1, 1}, {0, 0}};
    const gfx::PainterStateSaver saved(dc);
    dc.setBackgroundMode(gfx::TRANSPARENT);
    dc.setTextColour(gfx::colours::black);
    for (gfx::Point offset : outline)
        dc.drawText(text, rect.translated(offset), format);
    dc.setTextColour(Light);
    dc.drawText(text, rect.translated(-1, 0), format);
}
