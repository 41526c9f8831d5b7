#pragma once
// Helpers shared by the rules tests: rules as plain text triples, and rules files as bytes.

#include "platform/device/FileSystem.h"
#include "rules/TavrelRules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace rules_test {

using Triple = std::tuple<std::u16string, std::u16string, std::u16string>;

inline std::vector<Triple> triples(CTavrelRules& rules)
{
    std::vector<Triple> out;
    for (const CTavrelRule* rule = rules.First(); rule; rule = rules.Next())
        out.emplace_back(rule->GetField().GetString(), rule->GetPattern().GetString(), rule->GetIcon().GetString());
    return out;
}

inline CTavrelRules rulesOf(const std::vector<Triple>& list)
{
    CTavrelRules rules;
    for (const auto& [field, pattern, icon] : list)
        rules.AddTail(CTavrelRule(field.c_str(), pattern.c_str(), icon.c_str()));
    return rules;
}

// 16-bit little-endian bytes of a text, as rules files hold them.
inline std::vector<std::uint8_t> utf16le(std::u16string_view text)
{
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c & 0xFF));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    return bytes;
}

inline bool writeFile(std::u16string_view path, std::u16string_view text)
{
    return device::FileSystem::writeAll(path, utf16le(text));
}

inline std::optional<std::vector<std::uint8_t>> readFile(std::u16string_view path)
{
    return device::FileSystem::readAll(path);
}

} // namespace rules_test
