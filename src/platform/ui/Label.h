#pragma once
// A static text: left, centred or right aligned, wrapping at words when it has more than one line
// of room. With notify on, a tap sends STN_CLICKED (the point stays readable in lastTap()).

#include "platform/gfx/Colour.h"
#include "platform/ui/Control.h"

namespace ui {

class Label : public Control {
public:
    enum class Align { Left, Centre, Right };

    void setAlign(Align align);
    void setBold(bool bold);
    void setTextColour(gfx::Colour colour);
    void setNotify(bool notify) { m_notify = notify; }
    gfx::Point lastTap() const { return m_lastTap; }

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenUp(gfx::Point point) override;

private:
    Align m_align = Align::Left;
    bool m_bold = false;
    bool m_notify = false;
    gfx::Colour m_colour = 0;
    gfx::Point m_lastTap;
};

} // namespace ui
