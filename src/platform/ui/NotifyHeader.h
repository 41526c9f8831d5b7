#pragma once
// What a tree view or list view tells its parent in WM_NOTIFY (lParam points to it).

#include "platform/gfx/Point.h"
#include "platform/ui/WindowHandle.h"

#include <cstdint>

namespace ui {

struct NotifyHeader {
    WindowHandle from;
    int id = 0;
    int code = 0;
    std::intptr_t item = -1; // the item concerned: an index or an item handle, or -1
    gfx::Point point;        // for clicks: the tap point in the control's client coordinates
};

} // namespace ui
