#pragma once
// A folder of the store. Only the calendar folder (olFolderCalendar) exists.

#include "platform/pim/Items.h"

#include <memory>

namespace pim {

class Store;

class Folder {
public:
    Folder(std::shared_ptr<Store> store, int kind);

    int kind() const { return m_kind; }
    // A new collection over the folder's items, with include-recurrences off.
    std::unique_ptr<Items> items() const;

private:
    std::shared_ptr<Store> m_store;
    int m_kind;
};

} // namespace pim
