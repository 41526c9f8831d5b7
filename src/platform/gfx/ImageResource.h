#pragma once
// Decodes the program's image resources: resources of type "IMAGE" holding GIF, JPEG, PNG or BMP
// bytes, found by their integer id.

#include "platform/gfx/ResourceTable.h"
#include "platform/gfx/Surface.h"

#include <optional>

namespace gfx {

inline constexpr const char16_t* imageResourceType = u"IMAGE";

// Nothing when no such resource is registered or its bytes do not decode.
std::optional<Surface> loadImageResource(int id, const ResourceTable& table = ResourceTable::program());

} // namespace gfx
