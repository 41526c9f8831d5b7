#pragma once
// CTavrelNewCommand: what the main frame does with an item of the day menu's "New" submenu
// (commands 35000-35099), for the date-time the user held the stylus on.
//
// - "<Personal>": "Customize..." (35020) opens the Appointment Types dialog and rebuilds the
//   command bar afterwards; every other item makes an appointment in the store (AddAppointment):
//   a built-in one (35000-35004, CTavrelNewAppointment) opened in the appointment editor, or the
//   template at position id − 35020 (CTavrelAppointmentTemplate), saved as it is. A held day (no
//   hour) finds its hour with CTavrelFreeHour, on a copy of the window collection taken under the
//   event lock, between "Workday Start Hour" and "Workday End Hour". The reader is then asked for
//   a fresh pass, so the appointment shows at once.
// - a registered calendar: its control application is asked for an activity of kind
//   id − 35000 ("OnRequestAddActivity:", CTavrelActivityRequest).
// - "<Combined>": nothing.
//
// An appointment the store refuses is told in a message box ("The appointment cannot be saved:
// the store is locked by another program") rather than vanishing without a word.

#include "common/QoString.h"
#include "platform/device/OleDateTime.h"

class CMainFrame;
class CTavrelApp;

class CTavrelNewCommand {
public:
    CTavrelNewCommand(CTavrelApp& app, CMainFrame& frame) : m_app(app), m_frame(frame) {}

    void RequestNew(int id, const device::OleDateTime& heldDate);
    // Makes the appointment of a "<Personal>" item (not "Customize..."); false with the reason
    // when it could not be made (an id that names nothing has no reason).
    bool AddAppointment(const device::OleDateTime& heldDate, int id, CQoString* why = nullptr);
    // The Appointment Types dialog, then the command bar anew.
    void Customize();

private:
    CTavrelApp& m_app;
    CMainFrame& m_frame;
};
