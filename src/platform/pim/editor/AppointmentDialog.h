#pragma once
// The appointment editor of the device: one dialog with the appointment's subject, location,
// start and end, the all-day switch, how it occurs, its categories, and a Delete button.
//
// "ok" checks the fields (dates in the device locale, the end not before the start), writes them
// into the appointment and saves it; a failure is told in a message box and the dialog stays open,
// so nothing typed is lost. Delete asks first (Yes/No) and removes the appointment (a series with
// all its occurrences). Escape closes the dialog and changes nothing.
//
// An all-day appointment starts and ends at midnight: its dates are shown and read without time.
// Changing the start moves the end along, keeping the appointment's length, as a person expects
// when they move a meeting; changing the end changes the length.

#include "platform/pim/editor/RecurrenceChoice.h"
#include "platform/ui/Dialog.h"

#include <vector>

namespace ui {
class CheckBox;
class ComboBox;
class EditBox;
class PushButton;
} // namespace ui

namespace pim {

class Appointment;

class AppointmentDialog final : public ui::Dialog {
public:
    static constexpr int subjectId = 1201;
    static constexpr int locationId = 1202;
    static constexpr int startsId = 1203;
    static constexpr int endsId = 1204;
    static constexpr int allDayId = 1205;
    static constexpr int occursId = 1206;
    static constexpr int categoriesId = 1207;
    static constexpr int deleteId = 1208;

    static constexpr const char16_t* Caption = u"Appointment";
    static constexpr const char16_t* DeleteQuestion = u"Delete this appointment?";
    static constexpr const char16_t* BadStart = u"Enter the start as a date and time, such as 12/8/2026 3:00 PM.";
    static constexpr const char16_t* BadEnd = u"Enter the end as a date and time, such as 12/8/2026 4:00 PM.";
    static constexpr const char16_t* EndBeforeStart = u"The appointment ends before it starts.";

    explicit AppointmentDialog(Appointment& appointment);

    // After RunModal: whether the appointment was saved or deleted.
    bool saved() const { return m_saved; }
    bool deleted() const { return m_deleted; }

protected:
    bool onInitDialog() override;
    bool onOk() override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;

private:
    // The start and end as the fields say, or nothing (with the message shown) when they do not.
    bool readTimes(device::OleDateTime& start, device::OleDateTime& end);
    void showTimes(const device::OleDateTime& start, const device::OleDateTime& end);
    void fillOccurs(const device::OleDateTime& start);
    void startChanged();
    void endChanged();
    void confirmDelete();
    void tell(device::WideView text);

    Appointment& m_appointment;
    std::vector<RecurrenceChoice::Kind> m_choices;
    bool m_saved = false;
    bool m_deleted = false;
    bool m_settingEnd = false;
    device::OleDateTimeSpan m_length;
    ui::EditBox* m_subject = nullptr;
    ui::EditBox* m_location = nullptr;
    ui::EditBox* m_starts = nullptr;
    ui::EditBox* m_ends = nullptr;
    ui::CheckBox* m_allDay = nullptr;
    ui::ComboBox* m_occurs = nullptr;
    ui::EditBox* m_categories = nullptr;
    ui::PushButton* m_delete = nullptr;
};

} // namespace pim
