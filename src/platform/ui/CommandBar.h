#pragma once
// The bar at the bottom of a frame: a menu button with the menu's title, then 16 × 16 tool
// buttons. A tap on the menu button opens the menu above the bar; a tap on a tool button sends its
// command to the frame. Holding the pen on a button shows its tool tip instead, and the pen-up
// that follows is no tap. Buttons show the enabled and checked state that the frame's
// command-update query gives them (refreshed whenever the loop becomes idle).

#include "platform/gfx/Surface.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ToolTip.h"
#include "platform/ui/Window.h"

#include <functional>
#include <vector>

namespace ui {

class CommandBar final : public Window {
public:
    struct Button {
        int command = 0;
        gfx::Surface picture; // 16 × 16; the top-left pixel's colour is transparent
        device::WideString toolTip;
        bool enabled = true;
        bool checked = false;
    };

    CommandBar();

    // The menu behind the menu button and its title ("Calendar"). The bar keeps its own copy;
    // change items through menu().
    void setMenu(device::WideView title, Menu menu);
    void removeMenu();
    bool hasMenu() const { return !m_menuTitle.empty(); }
    Menu& menu() { return m_menu; }
    const device::WideString& menuTitle() const { return m_menuTitle; }

    void addButton(int command, gfx::Surface picture, device::WideView toolTip = {});
    void clearButtons();
    std::size_t buttonCount() const { return m_buttons.size(); }
    const Button& button(std::size_t index) const { return m_buttons.at(index); }
    // Tool tips in the handheld's order: the menu button's first, then each tool button's.
    void setToolTips(const std::vector<device::WideString>& tips);
    device::WideString menuToolTip() const { return m_menuToolTip; }

    gfx::Rect menuButtonRect() const;
    gfx::Rect buttonRect(std::size_t index) const;
    // Asks `query` for every button's state; repaints what changed.
    void updateStates(const std::function<CommandUpdate(int)>& query);
    // The tool tip shown now, if any.
    const ToolTip& toolTip() const { return m_toolTip; }

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenDown(gfx::Point point) override;
    void onPenMove(gfx::Point point) override;
    void onPenUp(gfx::Point point) override;
    void onCancelMode() override;
    bool onContextMenu(gfx::Point screenPoint) override;

private:
    // -2 for none, -1 for the menu button, else a tool button's index.
    int partAt(gfx::Point point) const;
    void setPressed(int part);
    void openMenu();

    device::WideString m_menuTitle;
    device::WideString m_menuToolTip;
    Menu m_menu;
    std::vector<Button> m_buttons;
    int m_tracking = -2;
    int m_pressed = -2;
    bool m_menuOpen = false;
    ToolTip m_toolTip;
};

} // namespace ui
