#pragma once
// A tool tip: a small pale box with one line of text, shown above the tool button the pen holds
// and hidden when the pen is lifted.

#include "platform/ui/Window.h"

namespace ui {

class ToolTip final : public Window {
public:
    ToolTip() { setHoldGesture(false); }
    // Shows `text` just above `anchor` (screen pixels), kept on the screen.
    void showAbove(device::WideView text, const gfx::Rect& anchor);
    void dismiss() { destroy(); }

protected:
    void onPaint(gfx::Painter& painter) override;
};

} // namespace ui
