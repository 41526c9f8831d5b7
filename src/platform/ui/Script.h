#pragma once
// The input script language of the programs' --script option, one action a line:
//
//   tap X Y | hold X Y | down X Y | up X Y    pen input at screen pixels
//   key NAME                                   Left Right Up Down PageUp PageDown Return Escape
//                                              (also Tab Back Delete Home End Space Help)
//   command ID                                 WM_COMMAND ID to the foreground window
//   type TEXT                                  the rest of the line, character by character
//   wait MS                                    let MS milliseconds pass
//   idle                                       until nothing is pending (and the program's own
//                                              condition holds, see ScriptRunner)
//   snap FILE                                  the screen as PNG to a host file
//   quit                                       end the program
//
// Dialogs and controls, found in the foreground window by their ids (ScriptControlDriver):
//
//   press ID                                   tap the control; OK is the navigation bar's "ok",
//                                              CANCEL dismisses (the Cancel button, else Escape)
//   select ID TEXT                             the item with this text in a list box, combo box,
//                                              list view or tree view
//   check ID 0|1                               set a check box
//   check ID TEXT 0|1                          set the check box of a tree view item
//   text ID TEXT                               replace an edit field's text (TEXT may be empty)
//   choose PATH                                the item of the open popup menu, "View/Weekly"
//                                              reaching into a submenu; "&" markers are ignored;
//                                              a path that ends at a submenu opens it
//   answer YES|NO|OK|CANCEL                    the next message box that opens is answered so
//   dump FILE                                  the foreground window as text (WindowDump)
//
// ID is a number or OK, CANCEL, YES, NO (1, 2, 6, 7). Blank lines and lines starting with "#" are
// skipped; action, key and answer names compare ignoring case; texts compare ignoring case.

#include "platform/device/WideText.h"
#include "platform/gfx/Point.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct ScriptAction {
    enum class Kind {
        Tap, Hold, Down, Up, Key, Command, Type, Wait, Idle, Snap, Quit,
        Press, Select, Check, Text, Choose, Answer, Dump,
    };
    Kind kind = Kind::Idle;
    gfx::Point point;
    int value = 0;           // key code, command id, milliseconds, control id, or the answer (IDYES…)
    bool checked = false;    // for check
    device::WideString text; // for type, select, text, choose, and check's tree item
    std::string file;        // for snap and dump
    int line = 0;
    std::string source; // the line as written, for messages that name it
};

class Script {
public:
    // Nothing, and a message naming the line, when a line is not understood.
    static std::optional<std::vector<ScriptAction>> parse(std::string_view text, std::string* error);
    static std::optional<std::vector<ScriptAction>> load(const std::string& hostPath, std::string* error);
    // The virtual key code of a key name, or 0.
    static int keyCode(std::string_view name);
    // Every key name, comma-separated, for messages.
    static std::string keyNames();
    // The actions and key names, for the programs' --help.
    static const char* help();
};

} // namespace ui
