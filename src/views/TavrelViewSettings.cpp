#include "views/TavrelViewSettings.h"

#include "data/TavrelSettings.h"

CTavrelViewSettings CTavrelViewSettings::Read(const CTavrelSettings& settings)
{
    CTavrelViewSettings read;
    read.dayFontName = settings.GetDayFontName();
    read.dayFontSize = settings.GetDayFontSize();
    read.yearFontName = settings.GetYearFontName();
    read.yearFontSize = settings.GetYearFontSize();
    read.checkOffDays = settings.GetCheckOffDays();
    read.displayDefaultIcons = settings.GetDisplayDefaultIcons();
    // The tentative, out-of-office and free colours are read with the others, though no event is
    // drawn in them yet: the registry then shows every colour a user may set.
    read.busy = settings.GetBusyColour();
    read.tentative = settings.GetTentativeColour();
    read.outOfOffice = settings.GetOutOfOfficeColour();
    read.free = settings.GetFreeColour();
    read.hour1 = settings.GetHour1Colour();
    read.hour2 = settings.GetHour2Colour();
    return read;
}
