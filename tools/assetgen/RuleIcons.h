#pragma once
// The icon files of the default icon rules ("Icons\Cake.gif" and the rest): 16 × 16 pictures of
// what their names say, on the key-coloured background.

#include "platform/gfx/Surface.h"

#include <string_view>
#include <vector>

namespace assetgen {

class RuleIcons {
public:
    static constexpr int size = 16;

    // The file names without ".gif", in the order of the default rules (each name once).
    static const std::vector<std::string_view>& names();
    // Throws std::invalid_argument for a name that is not one of names().
    static gfx::Surface draw(std::string_view name);
};

} // namespace assetgen
