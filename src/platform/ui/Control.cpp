#include "platform/ui/Control.h"

namespace ui {

void Control::notifyParent(int code)
{
    if (Window* owner = parent())
        owner->send(WM_COMMAND, MAKEWPARAM(unsigned(id()), unsigned(code)), LParam(handle().value));
}

LResult Control::notifyParent(NotifyHeader header)
{
    header.from = handle();
    header.id = id();
    Window* owner = parent();
    return owner ? owner->send(WM_NOTIFY, WParam(id()), LParam(&header)) : 0;
}

} // namespace ui
