#include "platform/registry/HandleTable.h"

namespace registry {

HKEY HandleTable::add(std::uint64_t generation, std::int64_t key)
{
    std::lock_guard lock(m_mutex);
    std::uintptr_t value = m_next;
    m_next += 8;
    m_entries.emplace(value, Entry {generation, key});
    return reinterpret_cast<HKEY>(value);
}

bool HandleTable::find(HKEY handle, Entry& entry) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_entries.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == m_entries.end())
        return false;
    entry = found->second;
    return true;
}

bool HandleTable::remove(HKEY handle)
{
    std::lock_guard lock(m_mutex);
    return m_entries.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
}

std::size_t HandleTable::size() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

} // namespace registry
