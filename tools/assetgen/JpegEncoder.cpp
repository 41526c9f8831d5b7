#include "JpegEncoder.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace assetgen {

namespace {

void append(void* context, void* data, int size)
{
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* from = static_cast<const std::uint8_t*>(data);
    bytes->insert(bytes->end(), from, from + size);
}

} // namespace

std::vector<std::uint8_t> JpegEncoder::encode(const gfx::Surface& surface, int quality)
{
    std::vector<std::uint8_t> bytes;
    if (surface.isEmpty())
        return bytes;
    std::vector<std::uint8_t> rgb;
    rgb.reserve(std::size_t(surface.width()) * std::size_t(surface.height()) * 3);
    for (gfx::Colour pixel : surface.pixels()) {
        rgb.push_back(std::uint8_t(gfx::redOf(pixel)));
        rgb.push_back(std::uint8_t(gfx::greenOf(pixel)));
        rgb.push_back(std::uint8_t(gfx::blueOf(pixel)));
    }
    if (!stbi_write_jpg_to_func(append, &bytes, surface.width(), surface.height(), 3, rgb.data(), quality))
        bytes.clear();
    return bytes;
}

} // namespace assetgen
