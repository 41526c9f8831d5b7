#include "TodayPlugin.h"

namespace assetgen {

std::string TodayPlugin::placeholder(bool pocketPC2002)
{
    const std::string variant = pocketPC2002 ? "TavrelToday2002.DLL" : "TavrelToday2000.DLL";
    const std::string handheld = pocketPC2002 ? "a Pocket PC 2002 (operating system version 3, platform type PocketPC)"
                                              : "any other handheld";
    return "Tavrel Today-screen plug-in, " + variant + "\r\n"
           + "The variant for " + handheld + ".\r\n"
           + "A placeholder: this package does not build the plug-in. The setup library copies the\r\n"
           + "variant for the device to \\Windows\\TavrelToday.DLL and registers it with the Today screen.\r\n";
}

} // namespace assetgen
