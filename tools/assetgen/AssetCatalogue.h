#pragma once
// Everything the generator draws, with the place of each file below the output folder:
//
//   resources/<id>.gif (143: .jpg)                      the program's image resources
//   package/Program Files/Tavrel/Icons/<name>.gif       the default rules' icon files
//   package/Program Files/Tavrel/<Month>.gif, Daybar.gif the install folder's month titles and day bar
//   package/My Documents/CalendarSkinDefault/...        the default skin and its twelve backgrounds
//
// The list is the one assets/TavrelAssets.cmake names; the generator checks the two agree.

#include "Asset.h"

#include <vector>

namespace assetgen {

class AssetCatalogue {
public:
    static std::vector<Asset> build();
};

} // namespace assetgen
