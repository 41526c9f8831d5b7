#pragma once
// String tables of a program's modules: the texts a program loads by id (LoadString). A program
// registers its table at start; module handles are opaque values chosen by the program.

#include "platform/device/WideText.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>

namespace device {

using ModuleHandle = std::uintptr_t;

class StringResources {
public:
    static void registerTable(ModuleHandle module, std::initializer_list<std::pair<std::uint32_t, const WChar*>> entries);
    // Copies resource `id` of `module` into buffer (at most capacity-1 characters, terminated).
    // Returns the characters copied; 0 when there is no such string.
    static std::size_t load(ModuleHandle module, std::uint32_t id, WChar* buffer, std::size_t capacity);
    static std::optional<WideString> find(ModuleHandle module, std::uint32_t id);
};

} // namespace device
