#include "platform/ui/PopupMenu.h"

#include "platform/ui/Desktop.h"
#include "platform/ui/HoldGesture.h"
#include "platform/ui/Theme.h"

#include <algorithm>
#include <cstdlib>

namespace ui {
namespace {
PopupMenu* g_active = nullptr;

gfx::Point keepOnScreen(gfx::Point topLeft, gfx::Size size)
{
    int x = std::clamp(topLeft.x, 0, std::max(0, theme::screenWidth - size.width));
    int y = std::clamp(topLeft.y, 0, std::max(0, theme::screenHeight - size.height));
    return {x, y};
}
} // namespace

PopupMenu* PopupMenu::active() { return g_active; }

int PopupMenu::track(Menu& menu, unsigned flags, gfx::Point screenPoint, Window* owner)
{
    Desktop* desktop = Desktop::instance();
    if (!desktop || menu.empty())
        return 0;
    PopupMenu popup(menu, owner);
    int chosen = popup.run(flags, screenPoint);
    if (chosen != 0 && !(flags & TPM_RETURNCMD) && !(flags & TPM_NONOTIFY) && owner && owner->exists())
        owner->post(WM_COMMAND, MAKEWPARAM(unsigned(chosen), 0), 0);
    return chosen;
}

int PopupMenu::run(unsigned flags, gfx::Point screenPoint)
{
    Desktop& desktop = Desktop::current();
    // A menu opened while the pen is down (a hold) opens under it: that pen's press is at the
    // opening point, before any level existed.
    m_pressAt = screenPoint;
    m_levelsAtPress = 0;
    if (m_owner && m_owner->exists())
        m_owner->send(WM_INITMENUPOPUP, WParam(&m_menu), 0);
    MenuWindow probe(m_menu);
    gfx::Size size = probe.measure();
    gfx::Point topLeft = screenPoint;
    if (flags & TPM_RIGHTALIGN)
        topLeft.x -= size.width;
    else if (flags & TPM_CENTERALIGN)
        topLeft.x -= size.width / 2;
    if (flags & TPM_BOTTOMALIGN)
        topLeft.y -= size.height;
    else if (flags & TPM_VCENTERALIGN)
        topLeft.y -= size.height / 2;
    if (!openLevel(m_menu, keepOnScreen(topLeft, size)))
        return 0;

    m_outer = g_active;
    g_active = this;
    desktop.input().pushGrab(this);
    desktop.notifyModalOpened(*m_levels.front());
    desktop.runModalLoop([this] { return m_closed; });
    desktop.input().removeGrab(this);
    g_active = m_outer;
    closeLevelsAbove(0);
    if (!m_levels.empty()) {
        m_levels.front()->destroy();
        m_levels.clear();
    }
    return m_chosen;
}

bool PopupMenu::openLevel(Menu& menu, gfx::Point topLeft)
{
    auto window = std::make_unique<MenuWindow>(menu);
    if (!window->open(topLeft))
        return false;
    m_levels.push_back(std::move(window));
    return true;
}

void PopupMenu::openSubmenu(std::size_t level, std::size_t position)
{
    closeLevelsAbove(level);
    MenuWindow& parent = *m_levels[level];
    Menu* submenu = parent.menu().submenu(position);
    if (!submenu || submenu->empty())
        return;
    if (m_owner && m_owner->exists())
        m_owner->send(WM_INITMENUPOPUP, WParam(submenu), 0);
    MenuWindow probe(*submenu);
    gfx::Size size = probe.measure();
    gfx::Rect parentRect = parent.screenRect();
    gfx::Rect item = parent.itemRect(position).translated(parentRect.topLeft());
    gfx::Point topLeft{parentRect.right - 2, item.top - 1};
    if (topLeft.x + size.width > theme::screenWidth)
        topLeft.x = parentRect.left - size.width + 2;
    openLevel(*submenu, keepOnScreen(topLeft, size));
}

void PopupMenu::closeLevelsAbove(std::size_t level)
{
    while (m_levels.size() > level + 1) {
        m_levels.back()->destroy();
        m_levels.pop_back();
    }
}

void PopupMenu::close(int chosen)
{
    m_chosen = chosen;
    m_closed = true;
    for (auto& level : m_levels)
        level->hide();
}

std::pair<int, int> PopupMenu::hit(gfx::Point screenPoint) const
{
    for (int level = int(m_levels.size()) - 1; level >= 0; --level) {
        const MenuWindow& window = *m_levels[std::size_t(level)];
        if (window.screenRect().contains(screenPoint))
            return {level, window.itemAt(window.fromScreen(screenPoint))};
    }
    return {-1, -1};
}

void PopupMenu::activate(std::size_t level, int position, bool choose)
{
    MenuWindow& window = *m_levels[level];
    window.setHighlighted(position);
    if (position < 0)
        return;
    const MenuItem& item = window.menu().item(std::size_t(position));
    if (item.grayed)
        return;
    if (item.submenu) {
        if (m_levels.size() <= level + 1 || &m_levels[level + 1]->menu() != item.submenu.get())
            openSubmenu(level, std::size_t(position));
        return;
    }
    closeLevelsAbove(level);
    if (choose)
        close(item.id);
}

void PopupMenu::grabbedPen(InputEvent::Kind kind, gfx::Point screenPoint)
{
    if (m_closed)
        return;
    auto [level, position] = hit(screenPoint);
    switch (kind) {
    case InputEvent::Kind::PenDown:
        m_pressAt = screenPoint;
        m_levelsAtPress = m_levels.size();
        if (level < 0) {
            close(0); // a tap outside the menu closes it and goes nowhere else
            return;
        }
        activate(std::size_t(level), position, false);
        break;
    case InputEvent::Kind::PenMove:
        if (level >= 0)
            activate(std::size_t(level), position, false);
        break;
    case InputEvent::Kind::PenUp: {
        // A level that opened under the pen while it was down (the menu opened by a hold, or a
        // submenu that had to open over its parent item) was not aimed at: lifting the pen where
        // it went down chooses nothing there; dragged away (by more than the hold gesture's
        // tolerance) and lifted on an item, it chooses.
        const bool dragged = std::abs(screenPoint.x - m_pressAt.x) > HoldGesture::tolerance
            || std::abs(screenPoint.y - m_pressAt.y) > HoldGesture::tolerance;
        const bool openedUnderThePen = level >= 0 && std::size_t(level) >= m_levelsAtPress;
        if (level >= 0 && (dragged || !openedUnderThePen))
            activate(std::size_t(level), position, true);
        break;
    }
    default:
        break;
    }
}

void PopupMenu::grabbedKey(int virtualKey)
{
    if (m_closed || m_levels.empty())
        return;
    std::size_t level = m_levels.size() - 1;
    MenuWindow& window = *m_levels[level];
    Menu& menu = window.menu();
    auto step = [&](int direction) {
        int count = int(menu.count());
        int position = window.highlighted();
        for (int tries = 0; tries < count; ++tries) {
            position = position < 0 ? (direction > 0 ? 0 : count - 1) : (position + direction + count) % count;
            if (!menu.item(std::size_t(position)).separator) {
                window.setHighlighted(position);
                return;
            }
        }
    };
    switch (virtualKey) {
    case VK_DOWN:
        step(1);
        break;
    case VK_UP:
        step(-1);
        break;
    case VK_RIGHT:
        if (window.highlighted() >= 0 && menu.item(std::size_t(window.highlighted())).submenu) {
            activate(level, window.highlighted(), false);
            if (m_levels.size() > level + 1)
                m_levels.back()->setHighlighted(0);
        }
        break;
    case VK_RETURN:
        if (window.highlighted() >= 0)
            activate(level, window.highlighted(), true);
        break;
    case VK_LEFT:
    case VK_ESCAPE:
        if (level == 0) {
            if (virtualKey == VK_ESCAPE)
                close(0);
        } else {
            closeLevelsAbove(level - 1);
        }
        break;
    default:
        break;
    }
}

} // namespace ui
