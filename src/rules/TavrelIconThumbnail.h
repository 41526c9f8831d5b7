#pragma once
// CTavrelIconThumbnail: a picture file as the icon picker shows it, 16 × 16.
//
// A picture larger than 16 pixels in either direction is scaled to 16 × 16; a smaller one sits at
// the top-left of a canvas of its own top-left pixel's colour. That colour is how icon files mark
// their background, and the calendar leaves it out when it draws them, so the picker does the same:
// it becomes TransparentColour, the key the picker's image list leaves out (a picture pixel that
// happens to have the key's value is nudged one step away from it).
//
// The picker decodes every picture of a folder, which may hold thousands of files, photographs
// among them. So the work per file is bounded before decoding starts: a file larger than
// MaxFileSize is not read, and a picture whose header states a side larger than MaxSide is refused
// before its pixels are decoded. Such files, and files that do not decode, give no picture; the
// picker lists them with an empty slot.

#include "platform/device/WideText.h"
#include "platform/gfx/Colour.h"
#include "platform/gfx/Surface.h"

#include <cstdint>

class CTavrelIconThumbnail {
public:
    static constexpr int Size = 16;
    static constexpr std::uint64_t MaxFileSize = 1024 * 1024;
    static constexpr int MaxSide = 1024;
    static constexpr gfx::Colour TransparentColour = gfx::RGB(0xFF, 0x00, 0xFF);

    // Empty when the file is too large, cannot be read or does not decode.
    static gfx::Surface FromFile(device::WideView path);
    // Empty for an empty picture.
    static gfx::Surface FromPicture(const gfx::Surface& picture);
};
