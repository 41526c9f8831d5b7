#include "platform/gfx/ResourceTable.h"

namespace gfx {

ResourceTable& ResourceTable::program()
{
    // Never destroyed: registrations run during static initialisation and lookups may come from
    // static objects being destroyed at exit.
    static ResourceTable* table = new ResourceTable();
    return *table;
}

ResourceTable::Key ResourceTable::makeKey(device::WideView type, int id)
{
    device::WideString folded(type);
    for (auto& c : folded)
        c = device::foldUpper(c);
    return {std::move(folded), id};
}

void ResourceTable::add(device::WideView type, int id, std::span<const std::uint8_t> bytes)
{
    std::lock_guard lock(m_mutex);
    m_entries[makeKey(type, id)] = bytes;
}

bool ResourceTable::remove(device::WideView type, int id)
{
    std::lock_guard lock(m_mutex);
    return m_entries.erase(makeKey(type, id)) > 0;
}

std::optional<std::span<const std::uint8_t>> ResourceTable::find(device::WideView type, int id) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_entries.find(makeKey(type, id));
    if (found == m_entries.end())
        return std::nullopt;
    return found->second;
}

std::vector<int> ResourceTable::ids(device::WideView type) const
{
    device::WideString folded = makeKey(type, 0).first;
    std::lock_guard lock(m_mutex);
    std::vector<int> result;
    for (const auto& [key, bytes] : m_entries)
        if (key.first == folded)
            result.push_back(key.second);
    return result;
}

} // namespace gfx
