#pragma once
// JPEG bytes of a surface, with stb_image_write's baseline encoder (the drawing layer only reads
// JPEGs; the package's backgrounds are the only JPEGs we write).

#include "platform/gfx/Surface.h"

#include <cstdint>
#include <vector>

namespace assetgen {

class JpegEncoder {
public:
    // quality 1 to 100. Empty for an empty surface.
    static std::vector<std::uint8_t> encode(const gfx::Surface& surface, int quality = 90);
};

} // namespace assetgen
