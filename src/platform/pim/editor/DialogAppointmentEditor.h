#pragma once
// The appointment editor a program installs so that Appointment::display() opens the device's
// dialog (AppointmentDialog):
//
//   pim::AppointmentEditor::install(std::make_shared<pim::DialogAppointmentEditor>());
//
// display() must come from the user-interface thread of a running desktop; from anywhere else the
// editor cannot be shown and display() fails with EditorFailed.

#include "platform/pim/AppointmentEditor.h"

namespace pim {

class DialogAppointmentEditor final : public AppointmentEditor {
public:
    bool edit(Appointment& appointment) override;
};

} // namespace pim
