#include "AssetCatalogue.h"

#include "ClockIcon.h"
#include "MonthTitles.h"
#include "ProgramPictures.h"
#include "RuleIcons.h"
#include "SeasonalBackgrounds.h"
#include "SkinFile.h"
#include "TodayPlugin.h"
#include "ViewStrips.h"

#include "assets/ResourceIds.h"

#include <string>

namespace assetgen {

namespace {

const std::string programFolder = "package/Program Files/Tavrel/";
const std::string skinFolder = "package/My Documents/CalendarSkinDefault/";

Asset resource(int id, gfx::Surface picture, Asset::Encoding encoding = Asset::Encoding::KeyedGif)
{
    const char* extension = encoding == Asset::Encoding::Jpeg ? ".jpg" : ".gif";
    return {"resources/" + std::to_string(id) + extension, encoding, std::move(picture), {}};
}

} // namespace

std::vector<Asset> AssetCatalogue::build()
{
    using Encoding = Asset::Encoding;
    std::vector<Asset> assets;

    // The program's image resources.
    assets.push_back(resource(IDI_TAVREL, ProgramPictures::programIcon()));
    assets.push_back(resource(IDB_REMINDER_TODO, ProgramPictures::reminderToDo()));
    assets.push_back(resource(IDB_REMINDER_CALL, ProgramPictures::reminderCall()));
    assets.push_back(resource(IDB_REMINDER_MEETING, ProgramPictures::reminderMeeting()));
    assets.push_back(resource(IDB_REMINDER_OTHER, ProgramPictures::reminderOther()));
    assets.push_back(resource(IDB_TIMEBAR, ViewStrips::timeBar(), Encoding::Gif));
    assets.push_back(resource(IDB_WEEKBAR, ViewStrips::weekBar(), Encoding::Gif));
    assets.push_back(resource(IDB_BACKGROUND, SeasonalBackgrounds::builtIn(), Encoding::Jpeg));
    const gfx::Surface dayBar = ViewStrips::dayBar();
    assets.push_back(resource(IDB_DAYBAR, dayBar, Encoding::Gif));
    for (int month = 1; month <= 12; ++month)
        assets.push_back(resource(MonthTitleResourceId(month), MonthTitles::draw(month), Encoding::Gif));
    assets.push_back(resource(IDB_TOOL_PREVIOUS, ProgramPictures::previousButton()));
    assets.push_back(resource(IDB_TOOL_NEXT, ProgramPictures::nextButton()));
    assets.push_back(resource(IDB_TOOL_TODAY, ProgramPictures::todayButton()));
    assets.push_back(resource(IDB_TOOL_ATTACHED, ProgramPictures::attachedButton()));
    assets.push_back(resource(IDB_TOOL_ABOUT, ProgramPictures::aboutButton()));
    assets.push_back(resource(IDB_TOOL_SWITCH_TO_VARNOW, ProgramPictures::switchToVarnowButton()));
    for (int index = 0; index < IDB_CLOCK_COUNT; ++index)
        assets.push_back(resource(IDB_CLOCK_FIRST + index, ClockIcon::draw(index)));
    assets.push_back(resource(IDB_ALLDAY, ProgramPictures::allDayIcon()));
    assets.push_back(resource(IDB_LINKS, ProgramPictures::links(), Encoding::Gif));
    assets.push_back(resource(IDB_MORE, ProgramPictures::moreMarker()));
    assets.push_back(resource(IDB_FOLDER, ProgramPictures::folder()));

    // QoLog Config's program icon, its resource 128.
    assets.push_back({"qologconfig/128.gif", Encoding::KeyedGif, ProgramPictures::logConfigIcon(), {}});

    // The install folder: the rules' icon files, the month titles and the day bar.
    for (std::string_view name : RuleIcons::names())
        assets.push_back({programFolder + "Icons/" + std::string(name) + ".gif", Encoding::KeyedGif,
                          RuleIcons::draw(name), {}});
    for (int month = 1; month <= 12; ++month)
        assets.push_back({programFolder + std::string(MonthTitles::monthName(month)) + ".gif", Encoding::Gif,
                          MonthTitles::draw(month), {}});
    assets.push_back({programFolder + "Daybar.gif", Encoding::Gif, dayBar, {}});
    // The Today-screen plug-in's two variants, which the setup library places; see README.md.
    assets.push_back({programFolder + "TavrelToday2002.DLL", Encoding::Text, {}, TodayPlugin::placeholder(true)});
    assets.push_back({programFolder + "TavrelToday2000.DLL", Encoding::Text, {}, TodayPlugin::placeholder(false)});

    // The default skin.
    assets.push_back({skinFolder + "Default.TavrelSkin", Encoding::Text, {}, SkinFile::defaultSkin()});
    for (int month = 1; month <= 12; ++month)
        assets.push_back({skinFolder + SkinFile::backgroundFile(month), Encoding::Jpeg, SeasonalBackgrounds::month(month),
                          {}});
    return assets;
}

} // namespace assetgen
