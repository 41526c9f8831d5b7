#include "platform/ui/FrameWindow.h"

#include "platform/ui/Desktop.h"
#include "platform/ui/Theme.h"

namespace ui {

FrameWindow::FrameWindow() { setHoldGesture(false); }

FrameWindow::~FrameWindow()
{
    if (m_idleToken && Desktop::instance())
        Desktop::instance()->removeIdleCallback(m_idleToken);
}

bool FrameWindow::create(device::WideView title, bool visible)
{
    if (!createTopLevel(theme::frameArea, title, Layer::Normal, visible))
        return false;
    gfx::Rect client = clientRect();
    if (!m_commandBar.create(this, {0, client.bottom - theme::commandBarHeight, client.right, client.bottom}, u"", 0)) {
        destroy();
        return false;
    }
    m_idleToken = desktop()->addIdleCallback([this] {
        if (exists() && isShown())
            m_commandBar.updateStates([this](int id) { return queryCommand(id); });
    });
    return true;
}

void FrameWindow::onDestroy()
{
    if (m_idleToken && desktop())
        desktop()->removeIdleCallback(m_idleToken);
    m_idleToken = 0;
}

gfx::Rect FrameWindow::viewRect() const
{
    return {0, 0, theme::screenWidth, theme::frameArea.height() - theme::commandBarHeight};
}

void FrameWindow::setView(Window* view)
{
    m_view = view ? view->handle() : WindowHandle{};
    if (view && hasFocus())
        view->setFocus();
}

Window* FrameWindow::view() const { return desktop() ? desktop()->find(m_view) : nullptr; }

void FrameWindow::onSetFocus()
{
    if (Window* shown = view(); shown && shown->isShown())
        shown->setFocus();
}

void FrameWindow::addCommandRange(int first, int last, CommandHandler handler, UpdateHandler update)
{
    m_ranges.push_back({first, last, std::move(handler), std::move(update)});
}

bool FrameWindow::routeCommand(int id, int code)
{
    for (const Range& range : m_ranges)
        if (id >= range.first && id <= range.last) {
            if (range.handler)
                range.handler(id, code);
            return true;
        }
    if (Window* shown = view())
        if (shown->send(WM_COMMAND, MAKEWPARAM(unsigned(id), unsigned(code)), 0))
            return true;
    if (m_commands.run(id))
        return true;
    return onCommand(id, code, {});
}

CommandUpdate FrameWindow::queryCommand(int id)
{
    CommandUpdate update;
    update.id = id;
    for (const Range& range : m_ranges)
        if (id >= range.first && id <= range.last) {
            if (range.update)
                range.update(update);
            else
                update.enable(true);
            return update;
        }
    if (Window* shown = view()) {
        shown->send(WM_IDLEUPDATECMDUI, 0, LParam(&update));
        if (update.handled)
            return update;
    }
    if (m_commands.update(update))
        return update;
    onUpdateCommand(update);
    return update;
}

void FrameWindow::updateMenu(Menu& menu)
{
    for (std::size_t i = 0; i < menu.count(); ++i) {
        MenuItem& item = menu.item(i);
        if (item.separator || item.submenu)
            continue;
        CommandUpdate state = queryCommand(item.id);
        if (state.handled)
            item.grayed = !state.enabled;
        if (state.checkHandled)
            item.checked = state.checked;
    }
}

LResult FrameWindow::handleMessage(std::uint32_t message, WParam wParam, LParam lParam)
{
    switch (message) {
    case WM_COMMAND:
        return routeCommand(LOWORD(wParam), std::int16_t(HIWORD(wParam))) ? 1 : 0;
    case WM_INITMENUPOPUP:
        if (wParam)
            updateMenu(*reinterpret_cast<Menu*>(wParam));
        return Window::handleMessage(message, wParam, lParam);
    default:
        return Window::handleMessage(message, wParam, lParam);
    }
}

} // namespace ui
