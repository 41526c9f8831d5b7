#pragma once
// GIF reading and writing with giflib. Reading gives the first frame over the logical screen
// (filled with the screen's background colour where the frame does not reach); every pixel keeps
// the colour its palette entry names, the transparent entry included, because the calendar keys
// transparency on colours. Writing takes surfaces of at most 256 colours, which is what drawn
// icons, title strips and test pictures are.

#include "platform/gfx/Colour.h"
#include "platform/gfx/Surface.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace gfx {

class GifCodec {
public:
    // Nothing is allocated for a picture whose logical screen or frame is larger than the limits.
    static std::optional<Surface> decode(std::span<const std::uint8_t> bytes, int maximumSide,
                                         std::int64_t maximumPixels);

    // One frame, or an animation of several frames of the first frame's size (later frames are
    // drawn over the earlier ones, 1/10 s apart). `transparent` marks one colour as the
    // transparent palette entry. Empty when a frame has more than 256 colours or sizes differ.
    static std::vector<std::uint8_t> encode(std::span<const Surface> frames,
                                            std::optional<Colour> transparent = std::nullopt);
    static std::vector<std::uint8_t> encode(const Surface& surface, std::optional<Colour> transparent = std::nullopt)
    {
        return encode(std::span<const Surface>(&surface, 1), transparent);
    }
};

} // namespace gfx
