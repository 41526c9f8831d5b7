#pragma once
// Brings a picture down to the 256 colours a GIF can hold, by median cut: the colours are split
// into boxes at the weighted median of their widest channel until there are enough boxes, and
// every colour is replaced by its box's weighted mean. Smooth gradients and the soft edges of
// large text keep their look; a colour named as `keep` (the key colour) stays exactly as it is.

#include "platform/gfx/Surface.h"

#include <optional>

namespace assetgen {

class ColourQuantiser {
public:
    static gfx::Surface reduce(const gfx::Surface& picture, int maximumColours = 256,
                               std::optional<gfx::Colour> keep = std::nullopt);
    static int countColours(const gfx::Surface& picture);
};

} // namespace assetgen
