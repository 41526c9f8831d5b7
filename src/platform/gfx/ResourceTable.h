#pragma once
// The resources embedded in a program at build time: byte blocks found by a type name ("IMAGE")
// and an integer id, as the handheld's resource lookup finds them in a module.
//
// A program embeds its files with the CMake function tavrel_embed_resources() (see
// cmake/EmbedResources.cmake); the generated source registers each file in
// ResourceTable::program() while the program starts. The registered bytes are static data of the
// program and live as long as it does.

#include "platform/device/WideText.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace gfx {

class ResourceTable {
public:
    ResourceTable() = default;
    ResourceTable(const ResourceTable&) = delete;
    ResourceTable& operator=(const ResourceTable&) = delete;

    // The running program's own resources.
    static ResourceTable& program();

    // Registers (or replaces) the bytes of a resource. The type compares without regard to case.
    // The table does not copy the bytes: they must outlive it (static data does).
    void add(device::WideView type, int id, std::span<const std::uint8_t> bytes);
    bool remove(device::WideView type, int id);

    std::optional<std::span<const std::uint8_t>> find(device::WideView type, int id) const;
    // The ids of one type, ascending.
    std::vector<int> ids(device::WideView type) const;

private:
    using Key = std::pair<device::WideString, int>; // the type folded to upper case, the id
    static Key makeKey(device::WideView type, int id);

    mutable std::mutex m_mutex;
    std::map<Key, std::span<const std::uint8_t>> m_entries;
};

// Registers one resource while the program starts; the generated embedding source holds one of
// these per file.
struct ResourceRegistration {
    ResourceRegistration(const char16_t* type, int id, const unsigned char* data, std::size_t size)
    {
        ResourceTable::program().add(type, id, std::span<const std::uint8_t>(data, size));
    }
};

} // namespace gfx
