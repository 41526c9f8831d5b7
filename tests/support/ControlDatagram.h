#pragma once
// A control datagram laid out byte by byte, the way a control application builds it: the tag, the
// payload length, the total length, the UTF-16LE text with its terminator and four zero bytes.
// The end-to-end tests send these rather than the program's own encoder, so a fault in the encoder
// cannot hide the same fault in the receiver.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

inline std::vector<std::uint8_t> controlDatagram(const std::u16string& text, const char* tag = "ELIF")
{
    const std::uint32_t payload = std::uint32_t((text.size() + 1) * 2);
    std::vector<std::uint8_t> out(tag, tag + 4);
    for (std::uint32_t value : {payload, payload + 16})
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(std::uint8_t(value >> shift));
    for (char16_t unit : text) {
        out.push_back(std::uint8_t(unit & 0xFF));
        out.push_back(std::uint8_t(unit >> 8));
    }
    out.insert(out.end(), 6, 0);
    return out;
}

} // namespace testing_support
