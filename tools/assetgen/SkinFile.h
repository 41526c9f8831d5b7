#pragma once
// The text of the default skin's "Default.TavrelSkin": its name and, for each month, the
// background picture (relative to the skin's folder) with its fade level. Lines end in CR LF, the
// last one too, because the skin reader only takes lines whose carriage return is not the file's
// last byte. The day bars and month titles are not named: the program's defaults in its install
// folder serve every month.

#include <string>

namespace assetgen {

class SkinFile {
public:
    static std::string defaultSkin();
    // The background picture's file name of a month in the default skin ("January.jpg").
    static std::string backgroundFile(int month);
};

} // namespace assetgen
