#include "platform/ui/InputRouter.h"

#include "platform/ui/Desktop.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace ui {

void InputRouter::handle(const InputEvent& event)
{
    InputGrab* grab = m_grabs.empty() ? nullptr : m_grabs.back();
    switch (event.kind) {
    case InputEvent::Kind::PenDown:
        if (grab) {
            // Whatever happens to the grab, this pen never reaches the windows below.
            m_penDown = true;
            m_swallowPen = true;
            m_hold.reset();
            grab->grabbedPen(event.kind, event.point);
        } else {
            penDown(event.point);
        }
        break;
    case InputEvent::Kind::PenMove:
        if (grab)
            grab->grabbedPen(event.kind, event.point);
        else
            penMove(event.point);
        break;
    case InputEvent::Kind::PenUp:
        if (grab) {
            m_penDown = false;
            m_swallowPen = false;
            m_hold.reset();
            releaseCapture();
            grab->grabbedPen(event.kind, event.point);
            runPenLifted();
        } else {
            penUp(event.point);
        }
        break;
    case InputEvent::Kind::HoldNow:
        if (!grab && m_hold.isWatching())
            fireHold();
        break;
    case InputEvent::Kind::Key:
        if (grab)
            grab->grabbedKey(event.key);
        else
            keyDown(event.key);
        break;
    case InputEvent::Kind::Char:
        if (grab)
            grab->grabbedChar(event.character);
        else
            character(event.character);
        break;
    }
}

Window* InputRouter::hitTest(gfx::Point screenPoint) const
{
    const auto& topLevels = m_desktop.topLevels();
    for (auto it = topLevels.rbegin(); it != topLevels.rend(); ++it) {
        Window* topLevel = *it;
        if (topLevel->layer() == Layer::Popup || !topLevel->isVisible() || !topLevel->rect().contains(screenPoint))
            continue;
        if (!topLevel->isEnabled())
            return nullptr; // behind a modal dialog: the pen goes nowhere
        Window* target = topLevel->childAt(topLevel->fromScreen(screenPoint));
        return target->isEnabledInChain() ? target : nullptr;
    }
    return nullptr;
}

void InputRouter::penDown(gfx::Point screenPoint)
{
    if (m_penDown)
        penUp(screenPoint); // a pen-down without a pen-up before it ends the earlier one
    m_penDown = true;
    m_swallowPen = false;
    m_hold.reset();
    Window* target = hitTest(screenPoint);
    if (!target) {
        m_swallowPen = true;
        return;
    }
    WindowHandle handle = target->handle();
    setCapture(target);
    if (target->acceptsFocus())
        m_desktop.setFocus(target);
    if (!m_desktop.find(handle))
        return;
    if (target->wantsHoldGesture())
        m_hold.start(handle, screenPoint, m_desktop.now());
    gfx::Point client = target->fromScreen(screenPoint);
    target->send(WM_LBUTTONDOWN, 0, MAKELPARAM(client.x, client.y));
}

void InputRouter::penMove(gfx::Point screenPoint)
{
    if (!m_penDown || m_swallowPen)
        return;
    m_hold.move(screenPoint);
    if (Window* target = capture()) {
        gfx::Point client = target->fromScreen(screenPoint);
        target->send(WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    }
}

void InputRouter::penUp(gfx::Point screenPoint)
{
    bool swallow = m_swallowPen || !m_penDown;
    m_penDown = false;
    m_swallowPen = false;
    m_hold.reset();
    Window* target = capture();
    releaseCapture();
    if (!swallow && target) {
        gfx::Point client = target->fromScreen(screenPoint);
        target->send(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    }
    runPenLifted();
}

bool InputRouter::fireHoldIfDue(std::uint64_t now)
{
    if (!m_hold.isDue(now))
        return false;
    fireHold();
    return true;
}

void InputRouter::fireHold()
{
    WindowHandle targetHandle = m_hold.target();
    gfx::Point origin = m_hold.origin();
    m_hold.markFired();
    m_swallowPen = true;
    Window* captured = capture();
    releaseCapture();
    if (captured)
        captured->send(WM_CANCELMODE);
    if (Window* target = m_desktop.find(targetHandle))
        target->send(WM_CONTEXTMENU, targetHandle.value, MAKELPARAM(origin.x, origin.y));
}

Window* InputRouter::keyTarget() const
{
    Window* foreground = m_desktop.foreground();
    Window* focus = m_desktop.focus();
    if (focus && focus->isShown() && focus->isEnabledInChain() && focus->topLevel() == foreground)
        return focus;
    return foreground && foreground->isEnabled() ? foreground : nullptr;
}

void InputRouter::keyDown(int virtualKey)
{
    if (Window* target = keyTarget())
        target->send(WM_KEYDOWN, WParam(virtualKey));
}

void InputRouter::character(device::WChar typed)
{
    if (Window* target = keyTarget())
        target->send(WM_CHAR, WParam(typed));
}

Window* InputRouter::capture() const { return m_desktop.find(m_capture); }

void InputRouter::setCapture(Window* window) { m_capture = window ? window->handle() : WindowHandle{}; }

void InputRouter::releaseCapture() { m_capture = {}; }

void InputRouter::pushGrab(InputGrab* grab)
{
    if (grab)
        m_grabs.push_back(grab);
    if (Window* captured = capture()) {
        // The popup takes the pen that is down now; the window below is told it lost it.
        releaseCapture();
        m_hold.reset();
        m_swallowPen = true;
        captured->send(WM_CANCELMODE);
    }
}

void InputRouter::removeGrab(InputGrab* grab) { std::erase(m_grabs, grab); }

void InputRouter::runPenLifted()
{
    auto callbacks = std::move(m_penLifted);
    m_penLifted.clear();
    for (auto& callback : callbacks)
        callback();
}

void InputRouter::windowDestroyed(WindowHandle window)
{
    if (m_capture == window) {
        m_capture = {};
        m_swallowPen = true;
    }
    if (m_hold.target() == window)
        m_hold.reset();
}

} // namespace ui
