#pragma once
// Decodes GIF, JPEG, PNG and BMP pictures into surfaces, from bytes or from a host file (the device
// layer turns device paths into host paths). The format is told by the first bytes, not by a file
// name. Bad, truncated or oversized input fails cleanly with no surface.
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
    // Pictures larger than this on either side are refused (the handheld's decoder limit).
    static constexpr int maximumSide = 10000;
    // Files larger than this are not read.
    static constexpr std::uintmax_t maximumFileSize = 64u * 1024 * 1024;

    static ImageFormat detectFormat(std::span<const std::uint8_t> bytes);
    static std::optional<Surface> decode(std::span<const std::uint8_t> bytes);
    // The same with a smaller limit: a picture whose header states a side beyond `sideLimit` is
    // refused before its pixels are decoded (lists of many small pictures bound their work so).
    static std::optional<Surface> decode(std::span<const std::uint8_t> bytes, int sideLimit);
    static std::optional<Surface> decodeFile(const std::filesystem::path& hostPath);
};

} // namespace gfx
