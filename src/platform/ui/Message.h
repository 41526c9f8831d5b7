#pragma once
// One window message as it waits in the queue.

#include "platform/ui/Messages.h"
#include "platform/ui/WindowHandle.h"

namespace ui {

struct Message {
    WindowHandle window;
    std::uint32_t message = WM_NULL;
    WParam wParam = 0;
    LParam lParam = 0;
};

} // namespace ui
