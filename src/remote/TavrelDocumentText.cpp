#include "remote/TavrelDocumentText.h"

#include "platform/device/FileSystem.h"

namespace {

CQoString wideText(std::span<const std::uint8_t> bytes, bool bigEndian)
{
    device::WideString text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const std::uint8_t first = bytes[i], second = bytes[i + 1];
        text += bigEndian ? char16_t((first << 8) | second) : char16_t((second << 8) | first);
    }
    return CQoString(text.c_str());
}

} // namespace

CQoString CTavrelDocumentText::Decode(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() >= 2) {
        if (bytes[0] == 0xFF && bytes[1] == 0xFE)
            return wideText(bytes.subspan(2), false);
        if (bytes[0] == 0xFE && bytes[1] == 0xFF)
            return wideText(bytes.subspan(2), true);
        if (bytes[0] == 0)
            return wideText(bytes, true);
        if (bytes[1] == 0)
            return wideText(bytes, false);
    }
    device::WideString text(bytes.begin(), bytes.end());
    return CQoString(text.c_str());
}

std::optional<CQoString> CTavrelDocumentText::Read(const CQoString& path)
{
    const std::optional<std::vector<std::uint8_t>> bytes = device::FileSystem::readAll(path.View());
    if (!bytes)
        return std::nullopt;
    return Decode(*bytes);
}
