#pragma once
// TapRegion: a rectangle of the view bound to a view message and its two parameters. Each render
// registers the regions of what it drew (a month's title, a day cell, an event box); a tap that
// no event claims goes to the first region that contains it, which posts its message. So painting
// and input share nothing but these regions.
//
// The wParam value TapPoint stands for the point of the tap itself: x in the low 16 bits and y
// in the high 16 bits, in the view's client coordinates.

#include "platform/gfx/Point.h"
#include "platform/gfx/Rect.h"
#include "platform/ui/Messages.h"
#include "platform/ui/WindowHandle.h"

#include <cstdint>

class TapRegion {
public:
    static constexpr ui::WParam TapPoint = 0xFFFFFFFF;

    TapRegion(ui::WindowHandle target, std::uint32_t message, ui::WParam wParam, ui::LParam lParam,
              const gfx::Rect& rect);

    // When the point lies in the rectangle: posts the message to the target (sends it when
    // `send` is set) and returns true. Otherwise false and nothing happens.
    bool HitTest(gfx::Point point, bool send = false) const;
    bool Contains(gfx::Point point) const { return m_rect.contains(point); }
    // The wParam the region delivers for a tap at `point`.
    ui::WParam ParameterFor(gfx::Point point) const;

    ui::WindowHandle GetTarget() const { return m_target; }
    std::uint32_t GetMessage() const { return m_message; }
    ui::LParam GetLParam() const { return m_lParam; }
    ui::WParam GetWParam() const { return m_wParam; }
    const gfx::Rect& GetRect() const { return m_rect; }

private:
    ui::WindowHandle m_target;
    std::uint32_t m_message;
    ui::LParam m_lParam;
    ui::WParam m_wParam;
    gfx::Rect m_rect;
};
