#pragma once
// The process's open key handles. A handle names a key id in one store (the store's generation
// changes whenever the process switches to another database file), so a handle from an earlier
// store, a closed handle or a made-up value are all refused instead of reaching the wrong key.
// Handle values are never reused within a process.

#include "platform/registry/Registry.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace registry {

class HandleTable {
public:
    struct Entry {
        std::uint64_t generation = 0;
        std::int64_t key = 0;
    };

    HKEY add(std::uint64_t generation, std::int64_t key);
    bool find(HKEY handle, Entry& entry) const;
    bool remove(HKEY handle);
    std::size_t size() const;

private:
    mutable std::mutex m_mutex;
    std::unordered_map<std::uintptr_t, Entry> m_entries;
    // Multiples of 8 never meet the predefined hive handles (0x80000001, 0x80000002).
    std::uintptr_t m_next = 0x10000;
};

} // namespace registry
