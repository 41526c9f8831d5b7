#pragma once
// Pictures for people to look at the generated assets with: every small picture enlarged, the
// strips and titles, and each month's default skin put together the way the month view shows it
// (title, day bar, grid, faded background, day numbers, a few event icons and the year).

#include "Asset.h"

#include <filesystem>
#include <vector>

namespace assetgen {

class ContactSheet {
public:
    // Writes icons.png, strips.png and months.png into `folder`. False when one cannot be written.
    static bool write(const std::vector<Asset>& assets, const std::filesystem::path& folder);
};

} // namespace assetgen
