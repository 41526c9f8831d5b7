#pragma once
// The items of a list box or combo box: texts with a data value each, kept in insertion order or,
// for a sorted list, in order of their texts ignoring case (new items go after equal ones).
// Searches are case-insensitive, as the handheld's: findPrefix() matches the start of a text,
// findExact() the whole text; both start after a given index and wrap around.
//
// The list also tracks the selected item (-1: none). The selection stays on its item while items
// are added or removed before it, and is cleared when its own item is removed.

#include "platform/device/WideText.h"

#include <cstdint>
#include <vector>

namespace ui {

class StringList {
public:
    struct Item {
        device::WideString text;
        std::intptr_t data = 0;
    };

    void setSorted(bool sorted) { m_sorted = sorted; }
    bool isSorted() const { return m_sorted; }

    // Where a sorted list puts it, at the end otherwise; returns the index.
    int add(device::WideView text, std::intptr_t data = 0);
    // At an index (-1 or past the end: at the end), never sorted.
    int insert(int index, device::WideView text, std::intptr_t data = 0);
    bool remove(int index);
    void clear();

    int count() const { return int(m_items.size()); }
    bool isValid(int index) const { return index >= 0 && index < count(); }
    const Item& at(int index) const { return m_items.at(std::size_t(index)); }
    Item& at(int index) { return m_items.at(std::size_t(index)); }
    // An item's text, empty when there is no such item.
    device::WideString textAt(int index) const;
    // An item's data value, -1 (the controls' error value) when there is no such item.
    std::intptr_t dataAt(int index) const;
    bool setDataAt(int index, std::intptr_t data);

    int selection() const { return m_selection; }
    // -1 clears the selection; an index of no item is refused.
    bool select(int index);

    int findPrefix(int after, device::WideView prefix) const;
    int findExact(int after, device::WideView text) const;

private:
    int find(int after, device::WideView text, bool wholeText) const;
    // Moves the selection along with its item after an insertion at `index`.
    int inserted(int index);

    std::vector<Item> m_items;
    bool m_sorted = false;
    int m_selection = -1;
};

} // namespace ui
