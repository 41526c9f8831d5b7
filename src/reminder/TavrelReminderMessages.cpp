#include "reminder/TavrelReminderMessages.h"

#include "platform/ui/MessageBox.h"

void CTavrelReminderMessages::Show(ui::Window* owner, const char16_t* text)
{
    ui::messageBox(owner, text, Caption, ui::MB_OK | ui::MB_TOPMOST);
}
