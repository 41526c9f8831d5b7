#pragma once
// Walks UTF-16 text by code point; an unpaired surrogate reads as U+FFFD.

#include "platform/device/WideText.h"

#include <cstddef>

namespace gfx {

inline char32_t nextCodePoint(device::WideView text, std::size_t& index)
{
    char32_t unit = text[index++];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (index < text.size() && text[index] >= 0xDC00 && text[index] <= 0xDFFF) {
            char32_t low = text[index++];
            return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        return 0xFFFD;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return 0xFFFD;
    return unit;
}

} // namespace gfx
