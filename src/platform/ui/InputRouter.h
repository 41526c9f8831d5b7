#pragma once
// The input path: raw pen, key and character input becomes window messages for the right window.
// The pen goes to the window under it at pen-down, which then holds the capture until pen-up, so it
// sees the moves and the pen-up even outside itself. A pen held still on a window that wants the
// gesture becomes WM_CONTEXTMENU with the screen point; the captured window first gets
// WM_CANCELMODE and never sees that pen's moves or pen-up. Keys and characters go to the focus
// window (or the foreground window). A popup's grab takes all of it while the popup is open.

#include "platform/ui/HoldGesture.h"
#include "platform/ui/InputEvent.h"
#include "platform/ui/InputGrab.h"
#include "platform/ui/WindowHandle.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace ui {

class Desktop;
class Window;

class InputRouter {
public:
    explicit InputRouter(Desktop& desktop) : m_desktop(desktop) {}

    void handle(const InputEvent& event);
    // Fires the hold gesture when its time has come; true when it fired.
    bool fireHoldIfDue(std::uint64_t now);
    std::optional<std::uint64_t> nextDeadline() const { return m_hold.deadline(); }

    // The window that would get a pen-down at this screen point, or none (a disabled window).
    Window* hitTest(gfx::Point screenPoint) const;

    Window* capture() const;
    void setCapture(Window* window);
    void releaseCapture();
    bool isPenDown() const { return m_penDown; }

    void pushGrab(InputGrab* grab);
    void removeGrab(InputGrab* grab);

    // Runs once when the pen is next lifted (a tool tip shown for a hold hides itself this way).
    void whenPenLifted(std::function<void()> callback) { m_penLifted.push_back(std::move(callback)); }

    void windowDestroyed(WindowHandle window);

private:
    void penDown(gfx::Point screenPoint);
    void penMove(gfx::Point screenPoint);
    void penUp(gfx::Point screenPoint);
    void fireHold();
    void keyDown(int virtualKey);
    void character(device::WChar character);
    Window* keyTarget() const;
    void runPenLifted();

    Desktop& m_desktop;
    WindowHandle m_capture;
    HoldGesture m_hold;
    bool m_penDown = false;
    bool m_swallowPen = false; // the rest of this pen belongs to a gesture or to nobody
    std::vector<InputGrab*> m_grabs;
    std::vector<std::function<void()>> m_penLifted;
};

} // namespace ui
