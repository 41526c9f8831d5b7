#pragma once
// The bar across the top of the screen: the foreground window's title, the device clock in the
// handheld's short form ("3:45p"), and "ok" while the foreground window takes it (a dialog).
// Tapping "ok" sends WM_COMMAND IDOK to that window.

#include "platform/device/SystemTime.h"
#include "platform/ui/Window.h"

#include <functional>

namespace ui {

class NavigationBar final : public Window {
public:
    static constexpr unsigned clockTimerId = 1;

    NavigationBar();
    bool create();

    // The text the clock shows for a local time: "3:45p", "12:05a".
    static device::WideString clockText(const device::SystemTime& time);
    // Where the clock comes from (the device clock unless a test sets another).
    void setClockSource(std::function<device::SystemTime()> source);

    // The "ok" button's rectangle (screen = client, the bar sits at the top), or empty when the
    // foreground window does not take "ok".
    gfx::Rect okRect() const;
    device::WideString title() const;

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenDown(gfx::Point point) override;
    void onPenMove(gfx::Point point) override;
    void onPenUp(gfx::Point point) override;
    void onCancelMode() override { setPressed(false); }
    void onTimer(unsigned id) override;

private:
    void setPressed(bool pressed);
    device::WideString currentClockText() const;

    std::function<device::SystemTime()> m_clock;
    device::WideString m_shownClock;
    bool m_pressed = false;
    bool m_tracking = false;
};

} // namespace ui
