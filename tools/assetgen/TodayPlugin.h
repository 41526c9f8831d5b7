#pragma once
// The Today-screen plug-in of the package. It is a file of the handheld that this system does not
// build: the package carries a small placeholder under each variant's name, so that the setup
// library has the files it moves, copies and registers, and anyone who opens one learns what it
// stands for.

#include <string>

namespace assetgen {

class TodayPlugin {
public:
    // The text of the placeholder for the Pocket PC 2002 variant ("TavrelToday2002.DLL") or for
    // every other handheld ("TavrelToday2000.DLL").
    static std::string placeholder(bool pocketPC2002);
};

} // namespace assetgen
