#include "platform/pim/Folder.h"

namespace pim {

Folder::Folder(std::shared_ptr<Store> store, int kind) : m_store(std::move(store)), m_kind(kind) {}

std::unique_ptr<Items> Folder::items() const { return std::make_unique<Items>(m_store); }

} // namespace pim
