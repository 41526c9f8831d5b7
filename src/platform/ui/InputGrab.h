#pragma once
// A popup that takes all input while it is open (a menu, a drop-down list): pen events arrive in
// screen pixels wherever the pen is, keys and characters whatever has the focus. The desktop keeps
// a stack of grabs; the newest one gets the input.

#include "platform/device/WideText.h"
#include "platform/gfx/Point.h"
#include "platform/ui/InputEvent.h"

namespace ui {

class InputGrab {
public:
    virtual ~InputGrab() = default;
    virtual void grabbedPen(InputEvent::Kind kind, gfx::Point screenPoint) = 0;
    virtual void grabbedKey(int virtualKey) = 0;
    virtual void grabbedChar(device::WChar character) {}
};

} // namespace ui
