#pragma once
// Writes a surface as a PNG picture (8-bit RGB), for screenshots and test sheets.

#include "platform/gfx/Surface.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace gfx {

class PngWriter {
public:
    // The PNG bytes; empty for an empty surface.
    static std::vector<std::uint8_t> encode(const Surface& surface);
    // Writes to a temporary file beside `hostPath` and renames it into place, so a reader never
    // sees half a picture. False when the surface is empty or the file cannot be written.
    static bool write(const Surface& surface, const std::filesystem::path& hostPath);
};

} // namespace gfx
