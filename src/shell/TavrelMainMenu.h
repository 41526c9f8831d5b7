#pragma once
// CTavrelMainMenu: the "Calendar" menu as the program's menu resource holds it, before the frame
// adds "Personal" and the calendars:
//
//   Combined                        32776
//   Attached...                     32799
//   ---
//   &View         &Daily 32805, &Weekly 32806, &Monthly 32807, &Quarterly 32808
//   &Go To        &Next 32792, &Previous 32793, &Today 32800
//   &Rules...                       32795
//   ---
//   &Information  &Online Help 32801, &About... 57664
//   Options       Background (Choose... 32781, Fade... 32780), Choose Skin... 32798
//   Exit                            32791

#include "platform/ui/Menu.h"

class CTavrelMainMenu {
public:
    static constexpr const char16_t* Title = u"Calendar";

    static ui::Menu Build();
};
