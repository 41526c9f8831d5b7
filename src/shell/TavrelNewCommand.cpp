#include "shell/TavrelNewCommand.h"

#include "control/TavrelControl.h"
#include "data/TavrelAppointmentMaker.h"
#include "data/TavrelFreeHour.h"
#include "data/TavrelNewAppointment.h"
#include "data/TavrelNewCommands.h"
#include "data/TavrelSettings.h"
#include "platform/ui/MessageBox.h"
#include "shell/MainFrame.h"
#include "shell/TavrelApp.h"
#include "shell/TavrelStrings.h"
#include "templates/AppointmentTypesDlg.h"
#include "templates/TavrelTemplateStore.h"

void CTavrelNewCommand::RequestNew(int id, const device::OleDateTime& heldDate)
{
    const CQoString current = m_app.GetCurrentCalendarName();
    if (CTavrelCalendarData::IsPersonal(current)) {
        if (id == ID_NEW_CUSTOMIZE) {
            Customize();
            return;
        }
        CQoString why;
        if (!AddAppointment(heldDate, id, &why) && !why.IsEmpty())
            ui::messageBox(&m_frame, why.View(), CMainFrame::Title, ui::MB_OK | ui::MB_ICONWARNING);
        return;
    }
    // A registered calendar's control application makes its activities itself; in "<Combined>"
    // (no kinds) nothing is asked.
    if (CTavrelControl* control = m_frame.GetControl())
        control->RequestNewActivity(heldDate, id);
}

bool CTavrelNewCommand::AddAppointment(const device::OleDateTime& heldDate, int id, CQoString* why)
{
    pim::Application* store = m_app.GetOutlook();
    if (!store)
        return false;
    CTavrelSettings& settings = m_app.GetSettings();
    CTavrelFreeHour freeHours(m_app.GetWindowEventsSnapshot(), settings.GetWorkdayStartHour(),
                              settings.GetWorkdayEndHour());
    std::optional<CTavrelNewAppointment> appointment;
    if (id >= ID_NEW_APPOINTMENT && id <= ID_NEW_YEARLY_APPOINTMENT) {
        appointment = CTavrelNewAppointment::ForCommand(id, heldDate, freeHours, device::OleDateTime::GetCurrentTime());
    } else if (id >= ID_NEW_FIRST_TEMPLATE && id <= ID_NEW_LAST_COMMAND) {
        const CTavrelTemplateStore templates(settings.GetWorkdayStartHour());
        if (std::optional<CTavrelAppointmentTemplate> entry = templates.ReadAt(id - ID_NEW_CUSTOMIZE))
            appointment = entry->ToNewAppointment(heldDate, freeHours);
    }
    if (!appointment)
        return false;

    CTavrelAppointmentMaker maker(*store);
    const bool added = maker.Add(*appointment, why);
    if (maker.GetLastOid() != 0)
        m_app.RequestRefresh(); // saved: the views show it without waiting for the reader's pause
    return added;
}

void CTavrelNewCommand::Customize()
{
    const CTavrelTemplateStore templates(m_app.GetSettings().GetWorkdayStartHour());
    CAppointmentTypesDlg dialog(templates, CTavrelStrings::Load(IDS_TEMPLATES_FIRST_USE));
    dialog.RunModal();
    m_frame.BuildCommandBar();
}
