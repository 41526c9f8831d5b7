#pragma once
// Raw input as a backend (the host window, a script, a test) hands it to the desktop: the pen in
// screen pixels, keys as virtual key codes and text as characters. The desktop turns it into
// window messages when it gets to it, so the window under the pen is the one there at that moment.

#include "platform/device/WideText.h"
#include "platform/gfx/Point.h"

namespace ui {

struct InputEvent {
    enum class Kind {
        PenDown,
        PenMove,
        PenUp,
        HoldNow, // the pen that is down counts as held at once (the host's right mouse button)
        Key,     // a key went down: `key` is its virtual key code
        Char,    // a character was typed
    };

    Kind kind = Kind::PenDown;
    gfx::Point point;
    int key = 0;
    device::WChar character = 0;

    static InputEvent pen(Kind kind, gfx::Point point) { return {kind, point, 0, 0}; }
    static InputEvent keyDown(int virtualKey) { return {Kind::Key, {}, virtualKey, 0}; }
    static InputEvent typed(device::WChar character) { return {Kind::Char, {}, 0, character}; }
};

} // namespace ui
