#pragma once
// A push button: a tap (pen down and up on it) sends BN_CLICKED to the parent. The default button
// has a heavier border and is what Return presses in its dialog.

#include "platform/ui/Control.h"

namespace ui {

class PushButton : public Control {
public:
    void setDefault(bool isDefault);
    bool isDefault() const { return m_default; }
    bool isPressed() const { return m_pressed; }
    // Presses the button as a tap would (also from the keyboard).
    void click();

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenDown(gfx::Point point) override;
    void onPenMove(gfx::Point point) override;
    void onPenUp(gfx::Point point) override;
    void onCancelMode() override;
    bool onKeyDown(int virtualKey) override;

private:
    void setPressed(bool pressed);
    bool m_default = false;
    bool m_pressed = false;
    bool m_tracking = false;
};

} // namespace ui
