#pragma once
// The answer to a command-update query: whether a menu item or tool button with this command id is
// enabled and checked. Whoever knows the command fills it and marks it handled; an unhandled query
// leaves the item as its menu or button keeps it; one that only enables leaves the check mark as the
// program set it (the calendar checks its calendar items itself).

namespace ui {

struct CommandUpdate {
    int id = 0;
    bool enabled = true;
    bool checked = false;
    bool handled = false;
    bool checkHandled = false;

    void enable(bool on = true)
    {
        enabled = on;
        handled = true;
    }
    void check(bool on = true)
    {
        checked = on;
        handled = true;
        checkHandled = true;
    }
};

} // namespace ui
