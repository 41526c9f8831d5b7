#pragma once
// What a caller asks for when creating a font, as the handheld's logical font does: a face name, a
// size in points (at 96 dots per inch) or in pixels, a weight and the italic and underline styles.

#include "platform/device/WideText.h"
#include "platform/gfx/GdiConstants.h"

namespace gfx {

struct FontDescription {
    device::WideString faceName = u"Tahoma";
    int pointSize = 8;   // used when pixelHeight is 0; 0 or less means the default size of 8 points
    int pixelHeight = 0; // when above 0, the cell height in pixels, taking the place of pointSize
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool isBold() const { return weight >= FW_SEMIBOLD; }
    bool operator==(const FontDescription&) const = default;
};

} // namespace gfx
