#pragma once
// One open level of a popup menu: a bordered box of items on top of everything, with the
// highlighted item, check marks, greyed items, separators and submenu arrows. PopupMenu opens and
// drives these; the window itself only lays out and draws.

#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"

namespace ui {

class MenuWindow final : public Window {
public:
    static constexpr int itemHeight = 19;
    static constexpr int separatorHeight = 7;

    explicit MenuWindow(Menu& menu);

    // The size the menu's items need.
    gfx::Size measure() const;
    bool open(gfx::Point topLeft);

    Menu& menu() { return m_menu; }
    int highlighted() const { return m_highlighted; }
    void setHighlighted(int position);
    // The item under a client point, or -1 (separators count as no item).
    int itemAt(gfx::Point client) const;
    // An item's rectangle in client coordinates.
    gfx::Rect itemRect(std::size_t position) const;

protected:
    void onPaint(gfx::Painter& painter) override;

private:
    Menu& m_menu;
    int m_highlighted = -1;
};

} // namespace ui
