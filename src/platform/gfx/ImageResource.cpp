#include "platform/gfx/ImageResource.h"

#include "platform/gfx/ImageDecoder.h"

namespace gfx {

std::optional<Surface> loadImageResource(int id, const ResourceTable& table)
{
    auto bytes = table.find(imageResourceType, id);
    if (!bytes)
        return std::nullopt;
    return ImageDecoder::decode(*bytes);
}

} // namespace gfx
