#pragma once
// Decodes GIF, JPEG, PNG and BMP pictures into surfaces, from bytes or from a host file (the device
// layer turns device paths into host paths). The format is told by the first bytes, not by a file
// name. Bad, truncated or oversized input fails cleanly with no surface.
//
// Memory: a picture's size is read from its header and checked against the limits below before
// anything is allocated for its pixels, so a few bytes claiming a huge picture cost nothing; and
// running out of memory while decoding is a picture that does not decode, never the end of the
// program.
//
// The surface is opaque, as the handheld's screen bitmaps are: an animated GIF gives its first
// frame; the transparent pixels of a GIF keep the colour its palette gives them (the calendar makes
// pictures transparent by colour key, usually the top-left pixel's colour, so that colour must
// survive); the alpha of a PNG is dropped and its colour channels kept as they are.

#include "platform/gfx/Surface.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace gfx {

enum class ImageFormat { Unknown, Gif, Jpeg, Png, Bmp };

class ImageDecoder {
public:
    // The largest picture the device takes: 4096 pixels on either side and 16 million pixels in
    // all (64 MB decoded). The screen is 240 × 320, so this leaves room for any background or
    // photo a person would choose, and none for a picture made to exhaust memory.
    static constexpr int maximumSide = 4096;
    static constexpr std::int64_t maximumPixels = 16'000'000;
    // Files larger than this are not read.
    static constexpr std::uintmax_t maximumFileSize = 64u * 1024 * 1024;

    static ImageFormat detectFormat(std::span<const std::uint8_t> bytes);
    // Whether a picture of that size is within the limits.
    static bool fitsLimits(std::int64_t width, std::int64_t height)
    {
        return width > 0 && height > 0 && width <= maximumSide && height <= maximumSide
            && width * height <= maximumPixels;
    }
    static std::optional<Surface> decode(std::span<const std::uint8_t> bytes);
    // The same with a smaller limit: a picture whose header states a side beyond `sideLimit` is
    // refused before its pixels are decoded (lists of many small pictures bound their work so).
    static std::optional<Surface> decode(std::span<const std::uint8_t> bytes, int sideLimit);
    static std::optional<Surface> decodeFile(const std::filesystem::path& hostPath);
};

} // namespace gfx
