#pragma once
// The appointment editor that Appointment::display() opens. The store knows no windows: the
// program installs its editor (the platform's dialog, or a stand-in in tests) at start, and
// display() fails cleanly while none is installed.

#include <memory>

namespace pim {

class Appointment;

class AppointmentEditor {
public:
    virtual ~AppointmentEditor() = default;

    // Shows the appointment for editing and returns when the user closes the editor. The editor
    // saves or deletes through the appointment itself. False only when it could not be shown.
    virtual bool edit(Appointment& appointment) = 0;

    // Installs `editor` for the whole process (null removes it); returns the one it replaces.
    static std::shared_ptr<AppointmentEditor> install(std::shared_ptr<AppointmentEditor> editor);
    static std::shared_ptr<AppointmentEditor> installed();
};

} // namespace pim
