#include "SkinFile.h"

#include "MonthTitles.h"
#include "SeasonalBackgrounds.h"

#include "platform/device/Printf.h"

namespace assetgen {

std::string SkinFile::backgroundFile(int month)
{
    return std::string(MonthTitles::monthName(month)) + ".jpg";
}

std::string SkinFile::defaultSkin()
{
    std::string text = "[Skin]\r\nName=Seasons\r\n\r\n[Backgrounds]\r\n";
    for (int month = 1; month <= 12; ++month) {
        text += device::nformat("%02d", month) + "=" + backgroundFile(month) + "," + std::to_string(SeasonalBackgrounds::fadeLevel(month))
            + "\r\n";
    }
    return text;
}

} // namespace assetgen
