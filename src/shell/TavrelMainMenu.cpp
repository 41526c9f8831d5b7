#include "shell/TavrelMainMenu.h"

#include "shell/TavrelCommands.h"
#include "views/TavrelViewMessages.h"

ui::Menu CTavrelMainMenu::Build()
{
    ui::Menu menu;
    menu.append(u"Combined", ID_CALENDAR_COMBINED);
    menu.append(u"Attached...", ID_CALENDAR_ATTACHED);
    menu.appendSeparator();

    ui::Menu& view = menu.appendSubmenu(u"&View");
    view.append(u"&Daily", ID_VIEW_DAILY);
    view.append(u"&Weekly", ID_VIEW_WEEKLY);
    view.append(u"&Monthly", ID_VIEW_MONTHLY);
    view.append(u"&Quarterly", ID_VIEW_QUARTERLY);

    ui::Menu& goTo = menu.appendSubmenu(u"&Go To");
    goTo.append(u"&Next", ID_GOTO_NEXT);
    goTo.append(u"&Previous", ID_GOTO_PREVIOUS);
    goTo.append(u"&Today", ID_GOTO_TODAY);

    menu.append(u"&Rules...", ID_VIEW_RULES);
    menu.appendSeparator();

    ui::Menu& information = menu.appendSubmenu(u"&Information");
    information.append(u"&Online Help", ID_HELP_ONLINE);
    information.append(u"&About...", ID_APP_ABOUT);

    ui::Menu& options = menu.appendSubmenu(u"Options");
    ui::Menu& background = options.appendSubmenu(u"Background");
    background.append(u"Choose...", ID_BACKGROUND_CHOOSE);
    background.append(u"Fade...", ID_BACKGROUND_FADE);
    options.append(u"Choose Skin...", ID_CHOOSE_SKIN);

    menu.append(u"Exit", ID_APP_EXIT);
    return menu;
}
