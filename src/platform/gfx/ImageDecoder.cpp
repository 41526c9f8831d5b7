#include "platform/gfx/ImageDecoder.h"

#include "platform/gfx/GifCodec.h"
#include "platform/gfx/StbCodec.h"

#include <fstream>
#include <vector>

namespace gfx {

ImageFormat ImageDecoder::detectFormat(std::span<const std::uint8_t> bytes)
{
    auto startsWith = [&](std::initializer_list<std::uint8_t> magic) {
        return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
    };
    if (startsWith({'G', 'I', 'F', '8'}))
        return ImageFormat::Gif;
    if (startsWith({0xFF, 0xD8, 0xFF}))
        return ImageFormat::Jpeg;
    if (startsWith({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return ImageFormat::Png;
    if (startsWith({'B', 'M'}))
        return ImageFormat::Bmp;
    return ImageFormat::Unknown;
}

std::optional<Surface> ImageDecoder::decode(std::span<const std::uint8_t> bytes)
{
    switch (detectFormat(bytes)) {
    case ImageFormat::Gif: return GifCodec::decode(bytes, maximumSide);
    case ImageFormat::Jpeg:
    case ImageFormat::Png:
    case ImageFormat::Bmp: return StbCodec::decode(bytes, maximumSide);
    case ImageFormat::Unknown: break;
    }
    return std::nullopt;
}

std::optional<Surface> ImageDecoder::decodeFile(const std::filesystem::path& hostPath)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error))
        return std::nullopt;
    std::uintmax_t size = std::filesystem::file_size(hostPath, error);
    if (error || size == 0 || size > maximumFileSize)
        return std::nullopt;
    std::ifstream file(hostPath, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return decode(bytes);
}

} // namespace gfx
