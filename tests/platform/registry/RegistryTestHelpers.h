#pragma once
// Small readers and writers shared by the registry tests.

#include "platform/registry/Registry.h"
#include "platform/registry/ScopedKey.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace registry_test {

using namespace registry;
using device::WideString;

inline Status setDword(HKEY key, WideView name, std::uint32_t value)
{
    return setValue(key, name, REG_DWORD, &value, sizeof value);
}

inline Status setText(HKEY key, WideView name, WideView text)
{
    WideString stored(text);
    return setValue(key, name, REG_SZ, stored.c_str(), std::uint32_t((stored.size() + 1) * sizeof(WChar)));
}

inline std::optional<std::uint32_t> readDword(HKEY key, WideView name)
{
    std::uint32_t value = 0, type = 0, size = sizeof value;
    if (queryValue(key, name, &type, &value, &size) != ERROR_SUCCESS || type != REG_DWORD || size != 4)
        return std::nullopt;
    return value;
}

inline std::vector<WideString> subkeyNames(HKEY key)
{
    std::vector<WideString> names;
    for (std::uint32_t index = 0;; ++index) {
        WChar name[260];
        std::uint32_t length = 260;
        if (enumKey(key, index, name, &length) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

inline std::vector<WideString> valueNames(HKEY key)
{
    std::vector<WideString> names;
    for (std::uint32_t index = 0;; ++index) {
        WChar name[260];
        std::uint32_t length = 260;
        if (enumValue(key, index, name, &length, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

} // namespace registry_test
