#pragma once
// A window as text, for scripts and the tests that read what a dialog shows without reading pixels
// (the script action `dump`). One line per thing, words separated by one space, texts last and
// quoted, so that `grep '^control 1104 '` finds a control and `grep '^item 1103 '` a list's items:
//
//   window KIND id=ID ok=0|1 [icon=WxH] [small-icon=WxH] text="TITLE"   the icons the window has
//   message text="TEXT"                                    message boxes: their text
//   control ID KIND shown=0|1 enabled=0|1 focused=0|1 checked=0|1|- selection=N|- [EXTRA=V...] text="TEXT"
//   item ID INDEX selected=0|1 [EXTRA=V...] text="TEXT"    every item of a list, after its control
//   menu LEVEL POSITION id=N enabled=0|1 checked=0|1 submenu=0|1 selected=0|1 text="TEXT"
//   menu LEVEL POSITION separator                          the open popup menu, outermost level 0
//
// The window is the foreground window (dialog, message box or frame); KIND is message-box, dialog,
// frame or window. Controls come depth first in creation order; KIND is label, button, checkbox,
// edit, listbox, combobox, slider, treeview, listview, picture, commandbar or window. `selection`
// is the selected item's index (-1 for none) for lists and "-" for other controls; `checked` is
// "-" for controls without a check. The extras, in this order where they apply:
//   button     default=0|1
//   edit       readonly=0|1
//   listbox    count=N
//   combobox   editable=0|1 dropped=0|1 count=N         (text: the field's text)
//   listview   count=N
//   treeview   count=N                                   (items in depth-first order)
//   slider     position=P range=MIN..MAX
//   commandbar count=N                                   (text: the menu button's title)
// and for items:
//   treeview   depth=D expanded=0|1 checked=0|1|-
//   commandbar id=COMMAND enabled=0|1 checked=0|1        (text: the tool tip)
// Texts are UTF-8 in double quotes with \\ \" \n \r \t escaped; "&" markers are kept as written.

#include "platform/ui/Window.h"

#include <string>

namespace ui {

class Desktop;

class WindowDump {
public:
    // The foreground window of the desktop and the open popup menu; "window none" when no window
    // is in the foreground (a hidden frame).
    static std::string describe(Desktop& desktop);
    // One window and its controls.
    static std::string describe(Window& window);
    // A text in the dump's quoted form.
    static std::string quote(device::WideView text);
};

} // namespace ui
