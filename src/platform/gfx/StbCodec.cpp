#include "platform/gfx/StbCodec.h"

#include <climits>
#include <cstring>
#include <memory>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_GIF // giflib reads GIFs, keeping the colour of transparent pixels
#define STBI_NO_PSD
#define STBI_NO_TGA
#define STBI_NO_HDR
#define STBI_NO_PIC
#define STBI_NO_PNM
#define STBI_MAX_DIMENSIONS 16384
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#include <stb_image.h>
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace gfx {

std::optional<Surface> StbCodec::decode(std::span<const std::uint8_t> bytes, int maximumSide,
                                        std::int64_t maximumPixels)
{
    if (bytes.empty() || bytes.size() > std::size_t(INT_MAX))
        return std::nullopt;
    int width = 0;
    int height = 0;
    int channels = 0;
    auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    int length = int(bytes.size());
    // Look at the size first, so that a lying header cannot make us allocate.
    if (!stbi_info_from_memory(data, length, &width, &height, &channels))
        return std::nullopt;
    if (width <= 0 || height <= 0 || width > maximumSide || height > maximumSide
        || std::int64_t(width) * height > maximumPixels)
        return std::nullopt;
    // Three channels: the alpha would be dropped anyway, and the decoder's buffer is a quarter
    // smaller. It is freed however this ends (a surface that cannot be allocated throws).
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(stbi_load_from_memory(data, length, &width, &height, &channels, 3),
                                                     stbi_image_free);
    if (!pixels)
        return std::nullopt;
    Surface surface(width, height);
    if (surface.isEmpty())
        return std::nullopt;
    const stbi_uc* source = pixels.get();
    for (Colour& pixel : surface.pixels()) {
        pixel = RGB(source[0], source[1], source[2]);
        source += 3;
    }
    return surface;
}

std::vector<std::uint8_t> StbCodec::encodePng(const Surface& surface)
{
    std::vector<std::uint8_t> out;
    if (surface.isEmpty())
        return out;
    std::vector<std::uint8_t> rgb;
    rgb.reserve(std::size_t(surface.width()) * std::size_t(surface.height()) * 3);
    for (Colour pixel : surface.pixels()) {
        rgb.push_back(std::uint8_t(redOf(pixel)));
        rgb.push_back(std::uint8_t(greenOf(pixel)));
        rgb.push_back(std::uint8_t(blueOf(pixel)));
    }
    auto append = [](void* context, void* data, int size) {
        auto* target = static_cast<std::vector<std::uint8_t>*>(context);
        auto* bytes = static_cast<const std::uint8_t*>(data);
        target->insert(target->end(), bytes, bytes + size);
    };
    if (!stbi_write_png_to_func(append, &out, surface.width(), surface.height(), 3, rgb.data(), surface.width() * 3))
        out.clear();
    return out;
}

} // namespace gfx
