#include "platform/gfx/ImageDecoder.h"

#include "platform/device/File.h"
#include "platform/gfx/GifCodec.h"
#include "platform/gfx/StbCodec.h"

#include <algorithm>
#include <new>
#include <vector>

namespace gfx {

namespace {

std::uint32_t littleEndian(std::span<const std::uint8_t> bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + std::size_t(i)];
    return value;
}

// A BMP whose pixel rows end before the file does would decode with made-up black rows: refuse
// it, as a truncated file of any other format is refused.
bool bmpHoldsItsPixels(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 26)
        return false;
    std::uint64_t offset = littleEndian(bytes, 10, 4);
    std::uint32_t headerSize = littleEndian(bytes, 14, 4);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = littleEndian(bytes, 18, 2);
        height = littleEndian(bytes, 20, 2);
        bitsPerPixel = littleEndian(bytes, 24, 2);
    } else if (headerSize >= 40 && bytes.size() >= 34) {
        width = std::int32_t(littleEndian(bytes, 18, 4));
        height = std::int32_t(littleEndian(bytes, 22, 4));
        bitsPerPixel = littleEndian(bytes, 28, 2);
        compression = littleEndian(bytes, 30, 4);
    } else {
        return false;
    }
    if (compression != 0 && compression != 3)
        return true; // compressed rows have no fixed length; the decoder judges them
    if (width <= 0 || height == 0 || bitsPerPixel == 0)
        return false;
    std::uint64_t stride = ((std::uint64_t(width) * bitsPerPixel + 31) / 32) * 4;
    std::uint64_t rows = std::uint64_t(height < 0 ? -height : height);
    return offset + stride * rows <= bytes.size();
}

// The stb JPEG reader trusts the symbol counts of a Huffman table and writes past the table when
// they add up to more than 256, so such files (never valid) are refused before it sees them. The
// walk visits every marker segment, including those between the scans of a progressive file.
bool jpegTablesAreSound(std::span<const std::uint8_t> bytes)
{
    std::size_t at = 2; // after the start-of-image marker
    while (at + 1 < bytes.size()) {
        if (bytes[at] != 0xFF) {
            ++at; // entropy-coded data between markers
            continue;
        }
        std::uint8_t marker = bytes[at + 1];
        if (marker == 0x00 || marker == 0xFF || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += marker == 0xFF ? 1 : 2; // stuffed byte, fill, restart marker: no segment
            continue;
        }
        if (marker == 0xD9)
            return true; // end of image
        if (at + 3 >= bytes.size())
            return true; // cut short: the reader itself stops there
        std::size_t length = (std::size_t(bytes[at + 2]) << 8) | bytes[at + 3];
        if (length < 2)
            return false;
        std::size_t end = std::min(bytes.size(), at + 2 + length);
        if (marker == 0xC4) {
            std::size_t table = at + 4;
            while (table < end) {
                if (table + 17 > end)
                    return false;
                std::size_t symbols = 0;
                for (std::size_t i = 1; i <= 16; ++i)
                    symbols += bytes[table + i];
                if (symbols > 256)
                    return false;
                table += 17 + symbols;
            }
        }
        at += 2 + length;
    }
    return true;
}

} // namespace

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
    return decode(bytes, maximumSide);
}

std::optional<Surface> ImageDecoder::decode(std::span<const std::uint8_t> bytes, int sideLimit)
{
    const int side = std::min(sideLimit, maximumSide);
    try {
        switch (detectFormat(bytes)) {
        case ImageFormat::Gif: return GifCodec::decode(bytes, side, maximumPixels);
        case ImageFormat::Bmp:
            if (!bmpHoldsItsPixels(bytes))
                return std::nullopt;
            return StbCodec::decode(bytes, side, maximumPixels);
        case ImageFormat::Jpeg:
            if (!jpegTablesAreSound(bytes))
                return std::nullopt;
            return StbCodec::decode(bytes, side, maximumPixels);
        case ImageFormat::Png: return StbCodec::decode(bytes, side, maximumPixels);
        case ImageFormat::Unknown: break;
        }
    } catch (const std::bad_alloc&) {
        // A picture within the limits can still meet a device short of memory: it does not load,
        // and the program goes on without it.
    }
    return std::nullopt;
}

std::optional<Surface> ImageDecoder::decodeFile(const std::filesystem::path& hostPath)
{
    // Opened as a device file is: regular files only, never blocking on a FIFO.
    device::File file;
    if (!file.openHost(hostPath, device::File::Read, device::File::Disposition::OpenExisting))
        return std::nullopt;
    const std::optional<std::int64_t> size = file.size();
    if (!size || *size <= 0 || std::uint64_t(*size) > maximumFileSize)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(*size));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const std::optional<std::size_t> read = file.read(bytes.data(), bytes.size());
    if (!read)
        return std::nullopt;
    bytes.resize(*read);
    return decode(bytes);
}

} // namespace gfx
