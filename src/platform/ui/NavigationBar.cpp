#include "platform/ui/NavigationBar.h"

#include "platform/device/DeviceClock.h"
#include "platform/gfx/Painter.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Theme.h"

#include <cstdio>

namespace ui {

NavigationBar::NavigationBar() : m_clock([] { return device::DeviceClock::localNow(); })
{
    setHoldGesture(false);
    setBackground(theme::navigationBar);
}

bool NavigationBar::create()
{
    if (!createTopLevel({0, 0, theme::screenWidth, theme::navigationBarHeight}, u"", Layer::Bar, true))
        return false;
    // On virtual time the clock is read whenever the bar paints; a repeating timer would only keep
    // the virtual clock jumping while a test waits for another thread.
    if (!desktop()->time().isVirtual())
        setTimer(clockTimerId, 1000);
    return true;
}

device::WideString NavigationBar::clockText(const device::SystemTime& time)
{
    int hour = time.hour % 12;
    if (hour == 0)
        hour = 12;
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d:%02d%c", hour, int(time.minute), time.hour < 12 ? 'a' : 'p');
    return device::fromUtf8(buffer);
}

void NavigationBar::setClockSource(std::function<device::SystemTime()> source)
{
    m_clock = std::move(source);
    invalidate();
}

device::WideString NavigationBar::currentClockText() const { return m_clock ? clockText(m_clock()) : device::WideString(); }

device::WideString NavigationBar::title() const
{
    Window* foreground = desktop() ? desktop()->foreground() : nullptr;
    return foreground ? foreground->text() : device::WideString();
}

gfx::Rect NavigationBar::okRect() const
{
    Window* foreground = desktop() ? desktop()->foreground() : nullptr;
    if (!foreground || !foreground->takesNavigationOk() || !foreground->isEnabled())
        return {};
    return {theme::screenWidth - 30, 4, theme::screenWidth - 4, theme::navigationBarHeight - 4};
}

void NavigationBar::onTimer(unsigned id)
{
    if (id != clockTimerId)
        return;
    if (currentClockText() != m_shownClock)
        invalidate();
}

void NavigationBar::onPaint(gfx::Painter& painter)
{
    gfx::Rect bar = clientRect();
    painter.fillRect(bar, theme::navigationBar);
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(theme::navigationBarText);

    gfx::Rect ok = okRect();
    int right = bar.right - 6;
    if (!ok.isEmpty()) {
        painter.selectFont(theme::boldFont());
        painter.selectPen(gfx::Pen::solid(theme::navigationBarText));
        painter.selectBrush(m_pressed ? gfx::Brush::solid(theme::navigationBarText) : gfx::Brush::null());
        painter.rectangle(ok);
        painter.setTextColour(m_pressed ? theme::navigationBar : theme::navigationBarText);
        painter.drawText(u"ok", ok, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
        painter.setTextColour(theme::navigationBarText);
        right = ok.left - 6;
    }

    m_shownClock = currentClockText();
    painter.selectFont(theme::font());
    gfx::Rect clockArea{right - 50, 0, right, bar.bottom};
    painter.drawText(m_shownClock, clockArea, gfx::DT_RIGHT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    int clockWidth = painter.textExtent(m_shownClock).width;

    painter.selectFont(theme::boldFont());
    gfx::Rect titleArea{6, 0, right - clockWidth - 6, bar.bottom};
    painter.drawText(title(), titleArea,
                     gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
}

void NavigationBar::setPressed(bool pressed)
{
    if (m_pressed == pressed)
        return;
    m_pressed = pressed;
    invalidate(okRect());
}

void NavigationBar::onPenDown(gfx::Point point)
{
    m_tracking = okRect().contains(point);
    setPressed(m_tracking);
}

void NavigationBar::onPenMove(gfx::Point point)
{
    if (m_tracking)
        setPressed(okRect().contains(point));
}

void NavigationBar::onPenUp(gfx::Point point)
{
    bool chosen = m_tracking && okRect().contains(point);
    m_tracking = false;
    setPressed(false);
    if (!chosen)
        return;
    if (Window* foreground = desktop()->foreground())
        foreground->send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LParam(handle().value));
}

} // namespace ui
