#include "platform/ui/WaitCursor.h"

#include "platform/ui/Desktop.h"

namespace ui {

WaitCursor::WaitCursor()
{
    if (Desktop* desktop = Desktop::instance()) {
        desktop->beginWaitCursor();
        m_shown = true;
    }
}

WaitCursor::~WaitCursor()
{
    if (Desktop* desktop = Desktop::instance(); desktop && m_shown)
        desktop->endWaitCursor();
}

} // namespace ui
