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
// Blank lines and lines starting with "#" are skipped; names compare ignoring case.

#include "platform/device/WideText.h"
#include "platform/gfx/Point.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct ScriptAction {
    enum class Kind { Tap, Hold, Down, Up, Key, Command, Type, Wait, Idle, Snap, Quit };
    Kind kind = Kind::Idle;
    gfx::Point point;
    int value = 0;           // key code, command id or milliseconds
    device::WideString text; // for type
    std::string file;        // for snap
    int line = 0;
};

class Script {
public:
    // Nothing, and a message naming the line, when a line is not understood.
    static std::optional<std::vector<ScriptAction>> parse(std::string_view text, std::string* error);
    static std::optional<std::vector<ScriptAction>> load(const std::string& hostPath, std::string* error);
    // The virtual key code of a key name, or 0.
    static int keyCode(std::string_view name);
};

} // namespace ui
