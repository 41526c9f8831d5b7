#pragma once
// CTavrelViewSettings: the settings a render draws with — fonts, colours, check-off and default
// icons — read from the settings store once at the start of each render, so that a render sees
// one consistent set and asks the registry a dozen times rather than once per cell and event.

#include "common/QoString.h"
#include "platform/gfx/Colour.h"

class CTavrelSettings;

struct CTavrelViewSettings {
    CQoString dayFontName = u"Tahoma";
    int dayFontSize = 8;
    CQoString yearFontName = u"Tahoma";
    int yearFontSize = 16;
    bool checkOffDays = false;
    bool displayDefaultIcons = true;
    gfx::Colour busy = 0xCC88FF;
    gfx::Colour tentative = 0x80FFFF;
    gfx::Colour outOfOffice = 0xFF0000;
    gfx::Colour free = 0x00FF00;
    gfx::Colour hour1 = 0xFFC0C0;
    gfx::Colour hour2 = 0xFFFFFF;

    static CTavrelViewSettings Read(const CTavrelSettings& settings);
};
