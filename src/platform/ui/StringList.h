#pragma once
// The items of a list box or combo box: texts with a data value each, kept in insertion order or,
// for a sorted list, in order of their texts ignoring case (new items go after equal ones).
// Searches are case-insensitive, as the handheld's: findPrefix() matches the start of a text,
// findExact() the whole text; both start after a given index and wrap around.

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
    void clear() { m_items.clear(); }

    int count() const { return int(m_items.size()); }
    bool isValid(int index) const { return index >= 0 && index < count(); }
    const Item& at(int index) const { return m_items.at(std::size_t(index)); }
    Item& at(int index) { return m_items.at(std::size_t(index)); }

    int findPrefix(int after, device::WideView prefix) const;
    int findExact(int after, device::WideView text) const;

private:
    int find(int after, device::WideView text, bool wholeText) const;
    std::vector<Item> m_items;
    bool m_sorted = false;
};

} // namespace ui
