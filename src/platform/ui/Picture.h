#pragma once
// A picture control: shows a surface at its top-left corner, centred, or stretched to fill it, with
// an optional colour key. With notify on, a tap sends STN_CLICKED and lastTap() tells where.

#include "platform/gfx/Surface.h"
#include "platform/ui/Control.h"

#include <optional>

namespace ui {

class Picture : public Control {
public:
    enum class Placement { TopLeft, Centre, Stretch };

    void setPicture(gfx::Surface picture);
    const gfx::Surface& picture() const { return m_picture; }
    void setPlacement(Placement placement);
    void setTransparentColour(std::optional<gfx::Colour> colour);
    void setBorder(bool border);
    void setNotify(bool notify) { m_notify = notify; }
    gfx::Point lastTap() const { return m_lastTap; }

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenUp(gfx::Point point) override;

private:
    gfx::Surface m_picture;
    Placement m_placement = Placement::Centre;
    std::optional<gfx::Colour> m_transparent;
    bool m_border = false;
    bool m_notify = false;
    gfx::Point m_lastTap;
};

} // namespace ui
