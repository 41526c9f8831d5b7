#include "Asset.h"

#include "ColourQuantiser.h"
#include "JpegEncoder.h"
#include "PixelArt.h"

#include "platform/gfx/GifCodec.h"

namespace assetgen {

std::vector<std::uint8_t> Asset::encode() const
{
    switch (encoding) {
    case Encoding::Gif:
        return gfx::GifCodec::encode(ColourQuantiser::reduce(picture));
    case Encoding::KeyedGif:
        return gfx::GifCodec::encode(ColourQuantiser::reduce(picture, 256, KeyColour), KeyColour);
    case Encoding::Jpeg:
        return JpegEncoder::encode(picture, 92);
    case Encoding::Text:
        return std::vector<std::uint8_t>(text.begin(), text.end());
    }
    return {};
}

} // namespace assetgen
