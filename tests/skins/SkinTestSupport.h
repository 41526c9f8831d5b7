#pragma once
// Helpers shared by the skin tests: section files as bytes in the encodings skins come in, and
// skins with their pictures laid out on the throw-away device.

#include "platform/device/FileSystem.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace skins_test {

// The lines joined with carriage return and line feed after each, as 8-bit bytes (characters
// below 256 only).
inline std::vector<std::uint8_t> ansiLines(std::initializer_list<std::u16string_view> lines)
{
    std::vector<std::uint8_t> bytes;
    for (std::u16string_view line : lines) {
        for (char16_t c : line)
            bytes.push_back(std::uint8_t(c));
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

// The same text as 16-bit little-endian bytes, as a text editor saves "Unicode" without a mark.
inline std::vector<std::uint8_t> utf16Lines(std::initializer_list<std::u16string_view> lines)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint8_t b : ansiLines(lines)) {
        bytes.push_back(b);
        bytes.push_back(0);
    }
    return bytes;
}

inline std::vector<std::uint8_t> bytesOf(std::string_view text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// Writes the file at that device path, creating its folders.
inline bool writeFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes)
{
    const auto slash = path.rfind(u'\\');
    if (slash != std::u16string::npos && slash > 0 && !device::FileSystem::createDirectories(path.substr(0, slash)))
        return false;
    return device::FileSystem::writeAll(path, bytes);
}

// Creates an empty file at that device path, with its folders.
inline bool touch(const std::u16string& path)
{
    return writeFile(path, {});
}

} // namespace skins_test
