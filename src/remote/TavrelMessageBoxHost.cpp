#include "remote/TavrelMessageBoxHost.h"

#include "platform/ui/Desktop.h"
#include "platform/ui/MessageBox.h"

void CTavrelMessageBoxHost::ShowMessage(const CQoString& text)
{
    // Without a desktop (a tool, a test without windows) the default host's line on standard error
    // is all there is.
    if (!ui::Desktop::instance()) {
        CTavrelRemoteHost::ShowMessage(text);
        return;
    }
    ui::Window* owner = m_owner && m_owner->exists() ? m_owner : nullptr;
    ui::messageBox(owner, text.View(), Caption, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
