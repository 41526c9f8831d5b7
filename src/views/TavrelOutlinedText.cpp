#include "views/TavrelOutlinedText.h"

void CTavrelOutlinedText::Draw(gfx::Painter& dc, device::WideView text, const gfx::Rect& rect, unsigned format)
{
    static constexpr gfx::Point outline[] = {{-2, 0}, {-1, -1}, {-1, 1}, {0, 0}};
    const int oldMode = dc.setBackgroundMode(gfx::TRANSPARENT);
    const gfx::Colour oldColour = dc.setTextColour(gfx::colours::black);
    for (gfx::Point offset : outline)
        dc.drawText(text, rect.translated(offset), format);
    dc.setTextColour(Light);
    dc.drawText(text, rect.translated(-1, 0), format);
    dc.setTextColour(oldColour);
    dc.setBackgroundMode(oldMode);
}
