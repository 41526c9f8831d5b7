#include "platform/ui/Window.h"

#include "platform/gfx/Painter.h"
#include "platform/gfx/PainterStateSaver.h"
#include "platform/ui/Desktop.h"

#include <algorithm>

namespace ui {

Window::Window() = default;

Window::~Window()
{
    destroy();
    m_owned.clear();
}

void Window::setIcon(int size, const gfx::Surface& icon)
{
    (size == ICON_BIG ? m_bigIcon : m_smallIcon) = std::make_unique<gfx::Surface>(icon);
    if (m_desktop && isTopLevel() && exists())
        m_desktop->iconChanged(*this);
}

const gfx::Surface* Window::icon(int size) const { return (size == ICON_BIG ? m_bigIcon : m_smallIcon).get(); }

Window* Window::fromHandle(WindowHandle handle)
{
    Desktop* desktop = Desktop::instance();
    return desktop ? desktop->find(handle) : nullptr;
}

bool Window::create(Window* parent, const gfx::Rect& rect, device::WideView text, int id, bool visible)
{
    if (parent && !parent->exists())
        return false;
    return registerWindow(parent, rect, text, id, visible, parent ? parent->layer() : Layer::Normal);
}

bool Window::createTopLevel(const gfx::Rect& rect, device::WideView text, Layer layer, bool visible)
{
    return registerWindow(nullptr, rect, text, m_id, visible, layer);
}

bool Window::registerWindow(Window* parent, const gfx::Rect& rect, device::WideView text, int id, bool visible,
                            Layer layer)
{
    Desktop* desktop = Desktop::instance();
    if (!desktop || exists())
        return false;
    m_desktop = desktop;
    m_parent = parent;
    m_rect = rect;
    if (!text.empty() || m_text.empty())
        m_text = device::WideString(text);
    if (id != 0)
        m_id = id;
    m_layer = layer;
    m_visible = visible;
    m_handle = desktop->registerWindow(*this);
    if (parent)
        parent->m_children.push_back(this);
    if (send(WM_CREATE) == -1 || !exists()) {
        destroy();
        return false;
    }
    if (m_visible)
        desktop->windowShown(*this);
    return true;
}

void Window::destroy()
{
    if (!exists() || m_destroying)
        return;
    m_destroying = true;
    Desktop* desktop = m_desktop;
    if (desktop && desktop->isUserInterfaceThread())
        send(WM_DESTROY);
    // Children go after their parent has been told, as on the handheld; each removes itself.
    while (!m_children.empty())
        m_children.back()->destroy();
    if (m_parent) {
        std::erase(m_parent->m_children, this);
        if (m_visible && m_parent->isShown())
            m_parent->invalidate(m_rect);
    }
    if (desktop)
        desktop->windowDestroyed(*this);
    m_handle = {};
    m_parent = nullptr;
    m_destroying = false;
}

Window* Window::topLevel()
{
    Window* window = this;
    while (window->m_parent)
        window = window->m_parent;
    return window;
}

void Window::setText(device::WideView text)
{
    if (m_text == text)
        return;
    m_text = device::WideString(text);
    invalidate();
    if (isTopLevel() && m_desktop && exists())
        m_desktop->invalidate({0, 0, Desktop::screenWidth, 26}); // the navigation bar shows the title
}

gfx::Rect Window::screenRect() const
{
    gfx::Rect rect = m_rect;
    for (Window* ancestor = m_parent; ancestor; ancestor = ancestor->m_parent)
        rect = rect.translated(ancestor->m_rect.left, ancestor->m_rect.top);
    return rect;
}

gfx::Point Window::toScreen(gfx::Point client) const
{
    gfx::Rect rect = screenRect();
    return {client.x + rect.left, client.y + rect.top};
}

gfx::Point Window::fromScreen(gfx::Point screen) const
{
    gfx::Rect rect = screenRect();
    return {screen.x - rect.left, screen.y - rect.top};
}

void Window::setRect(const gfx::Rect& rect)
{
    if (rect == m_rect)
        return;
    if (exists() && isShown() && m_desktop)
        m_desktop->invalidate(screenRect());
    m_rect = rect;
    if (exists()) {
        invalidate();
        onMoved();
    }
}

void Window::show(bool visible)
{
    if (m_visible == visible)
        return;
    if (!visible && exists() && isShown() && m_desktop)
        m_desktop->invalidate(screenRect());
    m_visible = visible;
    if (!exists())
        return;
    send(WM_SHOWWINDOW, visible ? 1 : 0);
    if (visible)
        invalidate();
    if (m_desktop)
        m_desktop->windowShown(*this);
}

bool Window::isShown() const
{
    for (const Window* window = this; window; window = window->m_parent)
        if (!window->m_visible)
            return false;
    return exists();
}

void Window::enable(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    if (exists()) {
        send(WM_ENABLE, enabled ? 1 : 0);
        invalidate();
    }
}

bool Window::isEnabledInChain() const
{
    for (const Window* window = this; window; window = window->m_parent)
        if (!window->m_enabled)
            return false;
    return true;
}

void Window::invalidate()
{
    if (exists() && m_desktop && isShown())
        m_desktop->invalidate(screenRect());
}

void Window::invalidate(const gfx::Rect& clientArea)
{
    if (exists() && m_desktop && isShown())
        m_desktop->invalidate(clientArea.intersected(clientRect()).translated(screenRect().topLeft()));
}

void Window::update()
{
    if (m_desktop)
        m_desktop->updateNow();
}

void Window::setTakesNavigationOk(bool on)
{
    m_navigationOk = on;
    if (exists() && m_desktop)
        m_desktop->invalidate({0, 0, Desktop::screenWidth, 26});
}

void Window::setBackground(gfx::Colour colour)
{
    m_background = colour;
    invalidate();
}

LResult Window::send(std::uint32_t message, WParam wParam, LParam lParam)
{
    if (!exists() || !m_desktop)
        return 0;
    return m_desktop->send(m_handle, message, wParam, lParam);
}

bool Window::post(std::uint32_t message, WParam wParam, LParam lParam)
{
    return exists() && m_desktop && m_desktop->post(m_handle, message, wParam, lParam);
}

bool Window::setTimer(unsigned id, unsigned intervalMs)
{
    return exists() && m_desktop && m_desktop->setTimer(m_handle, id, intervalMs);
}

bool Window::killTimer(unsigned id) { return exists() && m_desktop && m_desktop->killTimer(m_handle, id); }

void Window::setFocus()
{
    if (exists() && m_desktop)
        m_desktop->setFocus(this);
}

bool Window::hasFocus() const { return exists() && m_desktop && m_desktop->focus() == this; }

bool Window::textMatches(device::WideView own, device::WideView wanted)
{
    device::WideString stripped;
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (own[i] == u'&' && i + 1 < own.size() && own[i + 1] != u'&')
            continue;
        if (own[i] == u'&' && i + 1 < own.size())
            ++i;
        stripped.push_back(own[i]);
    }
    return device::equalsNoCase(stripped, wanted) || device::equalsNoCase(own, wanted);
}

Window* Window::findDescendant(int id) const
{
    for (Window* child : m_children) {
        if (child->m_id == id)
            return child;
        if (Window* found = child->findDescendant(id))
            return found;
    }
    return nullptr;
}

Window* Window::findDescendantByText(device::WideView text) const
{
    for (Window* child : m_children) {
        if (textMatches(child->m_text, text))
            return child;
        if (Window* found = child->findDescendantByText(text))
            return found;
    }
    return nullptr;
}

Window* Window::childAt(gfx::Point client)
{
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        Window* child = *it;
        if (child->m_visible && child->m_rect.contains(client))
            return child->childAt({client.x - child->m_rect.left, client.y - child->m_rect.top});
    }
    return this;
}

void Window::paintTree(gfx::Painter& painter, const gfx::Rect& screenClip)
{
    if (!m_visible || !exists())
        return;
    gfx::Rect own = screenRect();
    gfx::Rect clip = own.intersected(screenClip);
    if (clip.isEmpty())
        return;
    WindowHandle self = m_handle;
    {
        const gfx::PainterStateSaver saved(painter);
        painter.setOrigin(own.topLeft());
        painter.setClipRect(clip.translated(-own.left, -own.top));
        send(WM_PAINT, 0, LParam(&painter));
    }
    if (!m_desktop || !m_desktop->find(self))
        return;
    std::vector<Window*> children = m_children;
    for (Window* child : children)
        if (m_desktop->find(self) && std::find(m_children.begin(), m_children.end(), child) != m_children.end())
            child->paintTree(painter, clip);
}

void Window::onPaint(gfx::Painter& painter) { painter.fillRect(clientRect(), m_background); }

LResult Window::handleMessage(std::uint32_t message, WParam wParam, LParam lParam)
{
    if (m_hook) {
        if (std::optional<LResult> handled = m_hook(message, wParam, lParam))
            return *handled;
    }
    return dispatchDefault(message, wParam, lParam);
}

LResult Window::dispatchDefault(std::uint32_t message, WParam wParam, LParam lParam)
{
    auto point = [lParam] { return gfx::Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; };
    switch (message) {
    case WM_CREATE:
        return onCreate() ? 0 : -1;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_PAINT:
        if (lParam)
            onPaint(*reinterpret_cast<gfx::Painter*>(lParam));
        return 0;
    case WM_SETICON:
        if (lParam)
            setIcon(int(wParam), *reinterpret_cast<const gfx::Surface*>(lParam));
        return 0;
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), std::int16_t(HIWORD(wParam)), WindowHandle{std::uint32_t(lParam)}) ? 1 : 0;
    case WM_IDLEUPDATECMDUI:
        return lParam && onUpdateCommand(*reinterpret_cast<CommandUpdate*>(lParam)) ? 1 : 0;
    case WM_NOTIFY:
        return lParam ? onNotify(*reinterpret_cast<const NotifyHeader*>(lParam)) : 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        return onScroll(message, LOWORD(wParam), std::int16_t(HIWORD(wParam)), WindowHandle{std::uint32_t(lParam)}) ? 1
                                                                                                                 : 0;
    case WM_LBUTTONDOWN:
        onPenDown(point());
        return 0;
    case WM_MOUSEMOVE:
        onPenMove(point());
        return 0;
    case WM_LBUTTONUP:
        onPenUp(point());
        return 0;
    case WM_CANCELMODE:
        onCancelMode();
        return 0;
    case WM_CONTEXTMENU:
        if (onContextMenu(point()))
            return 1;
        return m_parent ? m_parent->send(message, wParam, lParam) : 0;
    case WM_KEYDOWN:
        if (onKeyDown(int(wParam)))
            return 1;
        return m_parent ? m_parent->send(message, wParam, lParam) : 0;
    case WM_CHAR:
        if (onChar(device::WChar(wParam)))
            return 1;
        return m_parent ? m_parent->send(message, wParam, lParam) : 0;
    case WM_TIMER:
        onTimer(unsigned(wParam));
        return 0;
    case WM_SETFOCUS:
        onSetFocus();
        return 0;
    case WM_KILLFOCUS:
        onKillFocus();
        return 0;
    case WM_ACTIVATE:
        onActivate(wParam != WA_INACTIVE);
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_HELP:
        if (onHelp())
            return 1;
        return m_parent ? m_parent->send(message, wParam, lParam) : 0;
    case WM_SHOWWINDOW:
        onShow(wParam != 0);
        return 0;
    default:
        return 0;
    }
}

} // namespace ui
