#pragma once
// One file the generator writes: where it goes below the output folder, what it holds and how it
// is encoded.

#include "platform/gfx/Surface.h"

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Asset {
    enum class Encoding {
        Gif,      // an opaque picture
        KeyedGif, // a picture whose key-coloured pixels are also the GIF's transparent colour
        Jpeg,
        Text,     // 8-bit text, written as it stands
    };

    std::string path; // relative to the output folder, "/" between names
    Encoding encoding = Encoding::Gif;
    gfx::Surface picture;
    std::string text;

    // The file's bytes; empty when the picture cannot be encoded (more than 256 colours for a GIF).
    std::vector<std::uint8_t> encode() const;
};

} // namespace assetgen
