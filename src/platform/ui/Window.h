#pragma once
// A window: a rectangle on the screen with a handle, a parent and children, a message handler and
// paint. Top-level windows (frames, dialogs, message boxes, menus) have screen coordinates; a
// child's rectangle is in its parent's client coordinates and it is clipped to its parent.
//
// Messages arrive through handleMessage(), which first offers them to the message hook (for code
// that handles a window's messages without deriving from it) and then dispatches them to the
// virtual on…() handlers below. Unhandled pen-held gestures and keys travel up to the parent, so a
// dialog sees Return and Escape from any of its controls.
//
// The C++ object and the window are separate lives, as with the handheld's application framework:
// an object may be set up (text, rectangle, a list's items) before create(), and keeps its state
// after destroy(), so a dialog's caller can read its controls once RunModal() has returned.

#include "platform/device/WideText.h"
#include "platform/gfx/Colour.h"
#include "platform/gfx/Point.h"
#include "platform/gfx/Rect.h"
#include "platform/ui/CommandUpdate.h"
#include "platform/ui/Messages.h"
#include "platform/ui/NotifyHeader.h"
#include "platform/ui/WindowHandle.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace gfx {
class Painter;
class Surface;
}

namespace ui {

class Desktop;

// The bands of the stacking order of top-level windows, bottom to top.
enum class Layer {
    Normal,  // frames and dialogs
    Bar,     // the navigation bar
    TopMost, // top-most dialogs and message boxes
    Popup,   // menus, drop-down lists, tool tips, the wait cursor
};

class Window {
public:
    using MessageHook = std::function<std::optional<LResult>(std::uint32_t message, WParam wParam, LParam lParam)>;

    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window as a child of `parent` (rect in the parent's client coordinates) or, with
    // no parent, as a top-level window (rect in screen pixels) in the given layer. Sends WM_CREATE;
    // false when the window exists already, no desktop runs, or onCreate() refused.
    bool create(Window* parent, const gfx::Rect& rect, device::WideView text = {}, int id = 0, bool visible = true);
    bool createTopLevel(const gfx::Rect& rect, device::WideView text = {}, Layer layer = Layer::Normal,
                        bool visible = true);
    // Sends WM_DESTROY, destroys the children, and gives up the handle. Safe to call twice.
    void destroy();

    bool exists() const { return bool(m_handle); }
    WindowHandle handle() const { return m_handle; }
    Window* parent() const { return m_parent; }
    Window* topLevel();
    bool isTopLevel() const { return m_parent == nullptr; }
    Layer layer() const { return m_layer; }
    const std::vector<Window*>& children() const { return m_children; }
    // Keeps `child` alive as long as this object; the caller still creates it.
    template <typename T>
    T& adopt(std::unique_ptr<T> child)
    {
        T& reference = *child;
        m_owned.push_back(std::move(child));
        return reference;
    }

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }
    const device::WideString& text() const { return m_text; }
    virtual void setText(device::WideView text);

    // Geometry.
    const gfx::Rect& rect() const { return m_rect; }
    gfx::Rect clientRect() const { return gfx::Rect::fromSize(m_rect.size()); }
    gfx::Rect screenRect() const;
    gfx::Point toScreen(gfx::Point client) const;
    gfx::Point fromScreen(gfx::Point screen) const;
    void setRect(const gfx::Rect& rect);

    // Visibility and enabling. isShown() and isEnabledInChain() also look at the ancestors.
    void show(bool visible = true);
    void hide() { show(false); }
    bool isVisible() const { return m_visible; }
    bool isShown() const;
    void enable(bool enabled = true);
    bool isEnabled() const { return m_enabled; }
    bool isEnabledInChain() const;

    // Painting: invalidate() marks the window for the next paint; update() paints it now.
    void invalidate();
    void invalidate(const gfx::Rect& clientArea);
    void update();
    gfx::Colour background() const { return m_background; }
    void setBackground(gfx::Colour colour);

    // Messages to this window (see Desktop for the threading rules).
    LResult send(std::uint32_t message, WParam wParam = 0, LParam lParam = 0);
    bool post(std::uint32_t message, WParam wParam = 0, LParam lParam = 0);
    bool setTimer(unsigned id, unsigned intervalMs);
    bool killTimer(unsigned id);

    void setFocus();
    bool hasFocus() const;
    // Whether the window takes the focus when tapped or tabbed to (edit boxes, lists…).
    virtual bool acceptsFocus() const { return false; }

    // Whether a pen held still on this window becomes a tap-and-hold (WM_CONTEXTMENU). Windows
    // that drag (sliders, scroll bars) or click (buttons) leave it off.
    bool wantsHoldGesture() const { return m_holdGesture; }
    void setHoldGesture(bool on) { m_holdGesture = on; }

    void setMessageHook(MessageHook hook) { m_hook = std::move(hook); }

    // The window's icons (WM_SETICON): ICON_SMALL and ICON_BIG, each a copy of the picture, or none.
    // A top-level window's small icon (else its big one) stands for the program in the host's
    // window list while it is the foreground window.
    void setIcon(int size, const gfx::Surface& icon);
    const gfx::Surface* icon(int size) const;

    // A top-level window that takes "ok" in the navigation bar while it is the foreground window
    // (dialogs do); tapping it sends WM_COMMAND IDOK to the window.
    bool takesNavigationOk() const { return m_navigationOk; }
    void setTakesNavigationOk(bool on);

    // The first descendant (depth first, in child order) with the id or the text; the text
    // compares ignoring "&" prefixes and letter case.
    Window* findDescendant(int id) const;
    Window* findDescendantByText(device::WideView text) const;
    // The deepest visible child under a client point, or this window.
    Window* childAt(gfx::Point client);

    // The message procedure. Derived classes override the on…() handlers; overriding this is for
    // messages without a handler of their own.
    virtual LResult handleMessage(std::uint32_t message, WParam wParam, LParam lParam);

    // Paints this window and then its children, clipped to `screenClip`.
    void paintTree(gfx::Painter& painter, const gfx::Rect& screenClip);

    static Window* fromHandle(WindowHandle handle);

protected:
    virtual bool onCreate() { return true; }
    virtual void onDestroy() {}
    virtual void onPaint(gfx::Painter& painter);
    virtual bool onCommand(int id, int code, WindowHandle source) { return false; }
    virtual bool onUpdateCommand(CommandUpdate& update) { return false; }
    virtual LResult onNotify(const NotifyHeader& header) { return 0; }
    virtual bool onScroll(std::uint32_t message, int code, int position, WindowHandle source) { return false; }
    // Pen positions are in client coordinates.
    virtual void onPenDown(gfx::Point point) {}
    virtual void onPenMove(gfx::Point point) {}
    virtual void onPenUp(gfx::Point point) {}
    // The pen interaction ended without a pen-up for this window (a hold was recognised).
    virtual void onCancelMode() {}
    // Tap-and-hold at a screen point; false passes it to the parent.
    virtual bool onContextMenu(gfx::Point screenPoint) { return false; }
    // False passes the key or character to the parent.
    virtual bool onKeyDown(int virtualKey) { return false; }
    virtual bool onChar(device::WChar character) { return false; }
    virtual void onTimer(unsigned id) {}
    virtual void onSetFocus() {}
    virtual void onKillFocus() {}
    virtual void onActivate(bool active) {}
    // WM_CLOSE; the default destroys the window.
    virtual void onClose() { destroy(); }
    virtual bool onHelp() { return false; }
    virtual void onShow(bool visible) {}
    virtual void onMoved() {}

    Desktop* desktop() const { return m_desktop; }

private:
    friend class Desktop;
    bool registerWindow(Window* parent, const gfx::Rect& rect, device::WideView text, int id, bool visible, Layer layer);
    LResult dispatchDefault(std::uint32_t message, WParam wParam, LParam lParam);
    static bool textMatches(device::WideView own, device::WideView wanted);

    Desktop* m_desktop = nullptr;
    WindowHandle m_handle;
    Window* m_parent = nullptr;
    std::vector<Window*> m_children;
    std::vector<std::unique_ptr<Window>> m_owned;
    Layer m_layer = Layer::Normal;
    int m_id = 0;
    device::WideString m_text;
    gfx::Rect m_rect;
    gfx::Colour m_background = gfx::colours::white;
    bool m_visible = false;
    bool m_enabled = true;
    bool m_holdGesture = true;
    bool m_navigationOk = false;
    bool m_destroying = false;
    MessageHook m_hook;
    std::unique_ptr<gfx::Surface> m_smallIcon;
    std::unique_ptr<gfx::Surface> m_bigIcon;
};

} // namespace ui
