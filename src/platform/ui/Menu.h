#pragma once
// A menu: items with texts, command ids, check marks and disabled states, separators and submenus.
// The same object is the command bar's menu and the content of a popup menu. Items are addressed
// as on the handheld, by command id (MF_BYCOMMAND, which also searches the submenus) or by position
// (MF_BYPOSITION).

#include "platform/device/WideText.h"
#include "platform/ui/Messages.h"

#include <memory>
#include <vector>

namespace ui {

class Menu;

struct MenuItem {
    device::WideString text;
    int id = 0;
    bool separator = false;
    bool checked = false;
    bool grayed = false;
    std::unique_ptr<Menu> submenu;

    bool isSelectable() const { return !separator && !grayed; }
};

class Menu {
public:
    Menu() = default;
    Menu(const Menu& other);
    Menu& operator=(const Menu& other);
    Menu(Menu&&) noexcept = default;
    Menu& operator=(Menu&&) noexcept = default;

    std::size_t count() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    const MenuItem& item(std::size_t position) const { return m_items.at(position); }
    MenuItem& item(std::size_t position) { return m_items.at(position); }

    // Appending. flags: MF_STRING, MF_SEPARATOR, MF_CHECKED, MF_GRAYED.
    void append(device::WideView text, int id, unsigned flags = MF_STRING);
    void appendSeparator();
    // A submenu item; returns the new submenu to fill.
    Menu& appendSubmenu(device::WideView text);

    // Inserts before the item given by position or command id (a position past the end appends).
    // False when MF_BYCOMMAND names no item.
    bool insert(unsigned item, unsigned flags, int id, device::WideView text);
    // Removes the item (a submenu item goes with its submenu). False when there is none.
    bool remove(unsigned item, unsigned flags);
    // Returns the previous state (MF_CHECKED or MF_UNCHECKED), or -1 when there is no such item.
    int check(unsigned item, unsigned flags);
    // flags carry MF_BYPOSITION/MF_BYCOMMAND and MF_GRAYED or MF_ENABLED; returns the previous
    // state (MF_GRAYED or MF_ENABLED), or -1.
    int enable(unsigned item, unsigned flags);
    // Replaces an item's text; false when there is none.
    bool setText(unsigned item, unsigned flags, device::WideView text);

    // Readable forms of the above, by command id.
    bool checkCommand(int id, bool checked) { return check(unsigned(id), MF_BYCOMMAND | (checked ? MF_CHECKED : 0)) >= 0; }
    bool enableCommand(int id, bool enabled) { return enable(unsigned(id), MF_BYCOMMAND | (enabled ? 0 : MF_GRAYED)) >= 0; }
    bool isChecked(int id) const;
    bool isEnabled(int id) const;

    // The item with this command id, here or in a submenu.
    MenuItem* findCommand(int id);
    const MenuItem* findCommand(int id) const;
    // The position of a command among this menu's own items, or -1.
    int positionOf(int id) const;
    // The submenu at a position, or null.
    Menu* submenu(std::size_t position);
    // The item whose text (ignoring "&" prefixes and case) matches, here or in a submenu.
    const MenuItem* findText(device::WideView text) const;
    void clear() { m_items.clear(); }

    // The text as shown: "&" prefixes removed, "&&" kept as "&".
    static device::WideString displayText(device::WideView text);

private:
    MenuItem* locate(unsigned item, unsigned flags, Menu** owner = nullptr, std::size_t* position = nullptr);

    std::vector<MenuItem> m_items;
};

} // namespace ui
