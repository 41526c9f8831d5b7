#pragma once
// JPEG, PNG and BMP reading and PNG writing with the stb single-header codecs, kept private to one
// source file (their functions are static there), so no other part of the program can clash with
// another copy of stb.

#include "platform/gfx/Surface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace gfx {

class StbCodec {
public:
    // Any alpha channel is dropped; the colour channels stay as they are. The size in the header
    // is checked against the limits before the pixels are decoded.
    static std::optional<Surface> decode(std::span<const std::uint8_t> bytes, int maximumSide,
                                         std::int64_t maximumPixels);
    static std::vector<std::uint8_t> encodePng(const Surface& surface);
};

} // namespace gfx
