#include "platform/pim/editor/DialogAppointmentEditor.h"

#include "platform/pim/editor/AppointmentDialog.h"
#include "platform/ui/Desktop.h"

namespace pim {

bool DialogAppointmentEditor::edit(Appointment& appointment)
{
    ui::Desktop* desktop = ui::Desktop::instance();
    if (!desktop || !desktop->isUserInterfaceThread() || desktop->isQuitting())
        return false;
    AppointmentDialog dialog(appointment);
    dialog.RunModal();
    return true;
}

} // namespace pim
