#pragma once
// A popup menu on screen and its modal loop (the handheld's TrackPopupMenu). The menu opens at a
// screen point with the TPM_ alignment flags, kept on the screen; a tap on an item chooses it, a
// tap on a submenu item opens the submenu beside it, a tap anywhere else closes the menu. Keys:
// Up and Down move, Right or Return opens a submenu, Return chooses, Left and Escape close a level.
//
// A menu opened while the pen is down (the tap-and-hold menu) takes that pen: dragging it onto an
// item and lifting it there chooses the item, but lifting it where it was held chooses nothing —
// the menu opens under the finger, and the pen-up that ends the hold is no choice. The same holds
// for a submenu that opens over its parent item (near the screen's edge): the pen-up of the tap
// that opened it does not choose the item that appeared under it.
//
// The owner receives WM_INITMENUPOPUP before each level opens, so that it can update the items'
// states (a frame runs the command-update query). With TPM_RETURNCMD the chosen command id is
// returned; otherwise it is also posted to the owner as WM_COMMAND. 0 means nothing was chosen.

#include "platform/ui/InputGrab.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MenuWindow.h"

#include <memory>
#include <vector>

namespace ui {

class PopupMenu final : public InputGrab {
public:
    static int track(Menu& menu, unsigned flags, gfx::Point screenPoint, Window* owner);

    // The menu that is open now (the innermost one when menus nest), for automation.
    static PopupMenu* active();
    const std::vector<std::unique_ptr<MenuWindow>>& levels() const { return m_levels; }
    // Ends the menu without a choice.
    void dismiss() { close(0); }

    void grabbedPen(InputEvent::Kind kind, gfx::Point screenPoint) override;
    void grabbedKey(int virtualKey) override;

private:
    PopupMenu(Menu& menu, Window* owner) : m_menu(menu), m_owner(owner) {}
    int run(unsigned flags, gfx::Point screenPoint);
    bool openLevel(Menu& menu, gfx::Point topLeft);
    void openSubmenu(std::size_t level, std::size_t position);
    void closeLevelsAbove(std::size_t level);
    void close(int chosen);
    // The level and item under a screen point; level -1 when outside every level.
    std::pair<int, int> hit(gfx::Point screenPoint) const;
    void activate(std::size_t level, int position, bool choose);

    Menu& m_menu;
    Window* m_owner;
    std::vector<std::unique_ptr<MenuWindow>> m_levels;
    bool m_closed = false;
    int m_chosen = 0;
    // Where the pen last went down (or, for a menu opened by a hold, where it opened) and how many
    // levels were open then: the levels above opened under that pen.
    gfx::Point m_pressAt;
    std::size_t m_levelsAtPress = 0;
    PopupMenu* m_outer = nullptr;
};

} // namespace ui
