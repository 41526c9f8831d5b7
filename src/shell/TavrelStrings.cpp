#include "shell/TavrelStrings.h"

void CTavrelStrings::Register()
{
    device::StringResources::registerTable(Module, {
                                                       {IDS_SOCKETS_INIT_FAILED, u"Windows sockets initialization failed."},
                                                       {IDS_NEW, u"New"},
                                                       {IDS_CALENDAR, u"Calendar"},
                                                       {IDS_PREVIOUS, u"Previous"},
                                                       {IDS_NEXT, u"Next"},
                                                       {IDS_GO_TO_TODAY, u"Go To Today"},
                                                       {IDS_ATTACHED, u"Connect to remote calendars"},
                                                       {IDS_ABOUT, u"About"},
                                                       {IDS_SWITCH_BACK, u"Switch back to application"},
                                                       {IDS_COMBINED, u"Combined"},
                                                       {IDS_TEMPLATES_FIRST_USE,
                                                        u"This is where you set up \"templates\" for appointments you want "
                                                        u"to quickly add to your calendar through holding your stylus down on "
                                                        u"a day then selecting \"New\" from the menu."},
                                                   });
}

CQoString CTavrelStrings::Load(std::uint32_t id)
{
    CQoString text;
    text.LoadString(Module, id);
    return text;
}
