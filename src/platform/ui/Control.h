#pragma once
// What every control shares: it tells its parent about the user's actions through WM_COMMAND with
// its id and a notification code (or WM_NOTIFY and WM_HSCROLL for the richer ones), draws with the
// dialog font, and leaves the tap-and-hold gesture off.

#include "platform/ui/Window.h"

namespace ui {

class Control : public Window {
public:
    Control() { setHoldGesture(false); }

protected:
    void notifyParent(int code);
    LResult notifyParent(NotifyHeader header);
};

} // namespace ui
