#include "control/TavrelControlHost.h"

#include "platform/ui/MessageBox.h"

void CTavrelControlHost::ShowMessageBox(const CQoString& text)
{
    ui::messageBox(nullptr, text.View(), u"Tavrel", ui::MB_OK | ui::MB_TOPMOST | ui::MB_SETFOREGROUND);
}
