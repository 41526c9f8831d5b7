#pragma once
// A check box with its text: a tap toggles it and sends BN_CLICKED to the parent.

#include "platform/ui/Control.h"

namespace ui {

class CheckBox : public Control {
public:
    bool isChecked() const { return m_checked; }
    void setChecked(bool checked);
    bool acceptsFocus() const override { return true; }

    // The box's rectangle in client coordinates.
    gfx::Rect boxRect() const;

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenDown(gfx::Point point) override;
    void onPenUp(gfx::Point point) override;
    void onCancelMode() override { m_tracking = false; }
    bool onKeyDown(int virtualKey) override;

private:
    void toggle();
    bool m_checked = false;
    bool m_tracking = false;
};

} // namespace ui
