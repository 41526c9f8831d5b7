#include "platform/ui/Dialog.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

Dialog::Dialog(device::WideView title, int widthUnits, int heightUnits)
    : m_widthUnits(widthUnits), m_heightUnits(heightUnits)
{
    setText(title);
    setHoldGesture(false);
    setTakesNavigationOk(true);
}

Dialog::~Dialog() { destroy(); }

gfx::Rect Dialog::placement() const
{
    // Between the bars when the template fits there; otherwise over the command bar too, down to
    // the bottom of the screen, as the handheld's full-screen dialogs are.
    int wanted = contentTop() + DialogUnits::toPixelsY(m_heightUnits);
    int height = wanted <= theme::workArea.height() ? theme::workArea.height() : theme::frameArea.height();
    return gfx::Rect::fromPositionAndSize(0, theme::navigationBarHeight, theme::screenWidth, height);
}

Window* Dialog::control(int id) const
{
    // The dialog's own controls first, as the handheld's lookup by id sees only those.
    for (Window* child : children())
        if (child->id() == id)
            return child;
    for (const Placement& placed : m_layout)
        if (placed.control->id() == id)
            return placed.control;
    return findDescendant(id);
}

int Dialog::RunModal()
{
    Desktop* desktop = Desktop::instance();
    if (!desktop || exists())
        return IDCANCEL;
    m_ended = false;
    m_result = IDCANCEL;
    if (!createTopLevel(placement(), text(), m_topMost ? Layer::TopMost : Layer::Normal, false))
        return IDCANCEL;
    for (const Placement& placed : m_layout)
        if (!placed.control->exists())
            placed.control->create(this, placed.rect, {}, placed.control->id());

    // Application-modal: everything else stops taking input until the dialog ends.
    m_disabled.clear();
    for (Window* other : desktop->topLevels())
        if (other != this && (other->layer() == Layer::Normal || other->layer() == Layer::TopMost) && other->isEnabled()) {
            m_disabled.push_back(other->handle());
            other->enable(false);
        }

    bool focusFirst = send(WM_INITDIALOG) != 0;
    if (Window* focused = desktop->focus(); focused && focused != this && focused->topLevel() == this)
        m_lastFocus = focused->handle();
    else if (!focusFirst)
        m_lastFocus = {};
    m_running = true;
    if (exists() && !m_ended) {
        show();
        desktop->bringToTop(*this);
        desktop->notifyModalOpened(*this);
        desktop->runModalLoop([this] { return m_ended || !exists(); });
    }
    m_running = false;
    for (WindowHandle handle : m_disabled)
        if (Window* other = desktop->find(handle))
            other->enable(true);
    m_disabled.clear();
    destroy();
    return m_result;
}

void Dialog::endDialog(int result)
{
    m_result = result;
    m_ended = true;
    if (Desktop* desktop = Desktop::instance())
        desktop->backend().wake();
}

LResult Dialog::handleMessage(std::uint32_t message, WParam wParam, LParam lParam)
{
    if (message == WM_INITDIALOG) {
        bool focusFirst = onInitDialog();
        if (m_initHandler)
            m_initHandler(*this);
        return focusFirst ? 1 : 0;
    }
    return Window::handleMessage(message, wParam, lParam);
}

bool Dialog::onInitDialog() { return true; }

bool Dialog::onOk() { return m_okHandler ? m_okHandler(*this) : true; }

bool Dialog::onCommand(int id, int code, WindowHandle source)
{
    if (m_commandHandler && m_commandHandler(*this, id, code))
        return true;
    if (id == IDOK && code == BN_CLICKED) {
        if (onOk())
            endDialog(IDOK);
        return true;
    }
    if (id == IDCANCEL && code == BN_CLICKED) {
        if (onCancel())
            endDialog(IDCANCEL);
        return true;
    }
    return false;
}

void Dialog::onClose()
{
    if (onCancel())
        endDialog(IDCANCEL);
}

bool Dialog::onKeyDown(int virtualKey)
{
    switch (virtualKey) {
    case VK_RETURN: {
        Window* focused = desktop()->focus();
        auto* button = dynamic_cast<PushButton*>(focused);
        if (!button || button->topLevel() != this)
            button = defaultButton();
        int id = button ? button->id() : IDOK;
        send(WM_COMMAND, MAKEWPARAM(unsigned(id), BN_CLICKED), button ? LParam(button->handle().value) : 0);
        return true;
    }
    case VK_ESCAPE:
        send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    case VK_TAB:
        focusNext(false);
        return true;
    default:
        return false;
    }
}

PushButton* Dialog::defaultButton() const
{
    std::function<PushButton*(const Window*)> search = [&](const Window* window) -> PushButton* {
        for (Window* child : window->children()) {
            auto* button = dynamic_cast<PushButton*>(child);
            if (button && button->isDefault() && button->isShown() && button->isEnabledInChain())
                return button;
            if (PushButton* found = search(child))
                return found;
        }
        return nullptr;
    };
    return search(this);
}

void Dialog::focusNext(bool backwards)
{
    std::vector<Window*> stops;
    std::function<void(Window*)> collect = [&](Window* window) {
        for (Window* child : window->children()) {
            if (child->isShown() && child->isEnabledInChain() && child->acceptsFocus())
                stops.push_back(child);
            collect(child);
        }
    };
    collect(this);
    if (stops.empty())
        return;
    auto current = std::find(stops.begin(), stops.end(), desktop()->focus());
    std::size_t index = current == stops.end() ? 0 : std::size_t(current - stops.begin()) + 1;
    if (backwards)
        index = current == stops.end() ? stops.size() - 1 : (std::size_t(current - stops.begin()) + stops.size() - 1);
    stops[index % stops.size()]->setFocus();
}

void Dialog::onSetFocus()
{
    Window* remembered = desktop()->find(m_lastFocus);
    if (remembered && remembered->isShown() && remembered->topLevel() == this) {
        remembered->setFocus();
        return;
    }
    std::function<Window*(Window*)> first = [&](Window* window) -> Window* {
        for (Window* child : window->children()) {
            if (child->isShown() && child->isEnabledInChain() && child->acceptsFocus())
                return child;
            if (Window* found = first(child))
                return found;
        }
        return nullptr;
    };
    if (Window* control = first(this))
        control->setFocus();
}

void Dialog::onPaint(gfx::Painter& painter)
{
    painter.fillRect(clientRect(), theme::window);
    if (!m_titleRow)
        return;
    painter.selectFont(theme::boldFont());
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(theme::titleText);
    gfx::Rect row{6, 0, rect().width() - 6, titleRowHeight - 1};
    painter.drawText(text(), row, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
    painter.fillRect({0, titleRowHeight - 1, rect().width(), titleRowHeight}, theme::titleLine);
}

} // namespace ui
