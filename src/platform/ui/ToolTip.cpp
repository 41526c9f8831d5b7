#include "platform/ui/ToolTip.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

void ToolTip::showAbove(device::WideView text, const gfx::Rect& anchor)
{
    destroy();
    int width = std::min(theme::font().textExtent(text).width + 8, theme::screenWidth);
    int height = theme::font().height() + 6;
    int x = std::clamp(anchor.left, 0, theme::screenWidth - width);
    int y = std::max(0, anchor.top - height - 2);
    createTopLevel(gfx::Rect::fromPositionAndSize(x, y, width, height), text, Layer::Popup, true);
}

void ToolTip::onPaint(gfx::Painter& painter)
{
    painter.selectPen(gfx::Pen::solid(theme::frameLine));
    painter.selectBrush(gfx::Brush::solid(theme::toolTip));
    painter.rectangle(clientRect());
    painter.selectFont(theme::font());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(theme::text);
    painter.drawText(text(), clientRect(), gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
}

} // namespace ui
