#include "platform/pim/editor/AppointmentDialog.h"

#include "platform/device/DateConversion.h"
#include "platform/pim/Appointment.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PushButton.h"

#include <string>

namespace pim {

namespace {

constexpr int rowHeight = 24;
constexpr int labelRight = 62;
constexpr int fieldLeft = 64;
constexpr int fieldRight = 236;

bool isValid(const device::OleDateTime& date) { return date.GetStatus() == device::DateTimeStatus::Valid; }

device::OleDateTime midnightOf(const device::OleDateTime& date)
{
    return device::OleDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 0, 0, 0);
}

} // namespace

AppointmentDialog::AppointmentDialog(Appointment& appointment) : Dialog(u"Appointment"), m_appointment(appointment)
{
    int top = contentTop() + 4;
    auto row = [&](const char16_t* label, int height = 20) {
        if (label)
            addAt<ui::Label>(ui::IDSTATIC, {4, top + 2, labelRight, top + height}, label);
        gfx::Rect field{fieldLeft, top, fieldRight, top + height};
        top += rowHeight;
        return field;
    };
    m_subject = &addAt<ui::EditBox>(subjectId, row(u"Subject:"));
    m_location = &addAt<ui::EditBox>(locationId, row(u"Location:"));
    m_starts = &addAt<ui::EditBox>(startsId, row(u"Starts:"));
    m_ends = &addAt<ui::EditBox>(endsId, row(u"Ends:"));
    m_allDay = &addAt<ui::CheckBox>(allDayId, row(nullptr), u"All day");
    gfx::Rect occurs = row(u"Occurs:");
    occurs.bottom += 5 * ui::ComboBox::itemHeight + 2; // the dropped list
    m_occurs = &addAt<ui::ComboBox>(occursId, occurs);
    m_categories = &addAt<ui::EditBox>(categoriesId, row(u"Categories:"));
    top += 6;
    m_delete = &addAt<ui::PushButton>(deleteId, {fieldLeft, top, fieldLeft + 70, top + 22}, u"Delete");
}

bool AppointmentDialog::onInitDialog()
{
    m_subject->setText(m_appointment.subject());
    m_location->setText(m_appointment.location());
    m_categories->setText(m_appointment.categories());
    m_allDay->setChecked(m_appointment.allDayEvent());
    m_length = m_appointment.end() - m_appointment.start();
    showTimes(m_appointment.start(), m_appointment.end());
    const RecurrenceChoice::Kind kind = RecurrenceChoice::classify(m_appointment.recurrencePattern(), m_appointment.start());
    m_choices = RecurrenceChoice::choices(kind == RecurrenceChoice::Kind::Current);
    fillOccurs(m_appointment.start());
    for (std::size_t i = 0; i < m_choices.size(); ++i)
        if (m_choices[i] == kind)
            m_occurs->setCurSel(int(i));
    // Only a saved appointment can be deleted.
    m_delete->enable(m_appointment.oid() != 0);
    return Dialog::onInitDialog();
}

void AppointmentDialog::showTimes(const device::OleDateTime& start, const device::OleDateTime& end)
{
    // Midnight is written without its time, so an all-day appointment shows dates only.
    const std::uint32_t flags = m_allDay->isChecked() ? device::VAR_DATEVALUEONLY : 0;
    m_starts->setText(start.Format(flags));
    m_ends->setText(end.Format(flags));
}

void AppointmentDialog::fillOccurs(const device::OleDateTime& start)
{
    const int selection = m_occurs->curSel();
    m_occurs->resetContent();
    for (RecurrenceChoice::Kind kind : m_choices)
        m_occurs->addString(RecurrenceChoice::text(kind, start));
    m_occurs->setCurSel(selection);
}

void AppointmentDialog::tell(device::WideView text) { ui::messageBox(this, text, Caption, ui::MB_OK | ui::MB_ICONWARNING); }

bool AppointmentDialog::readTimes(device::OleDateTime& start, device::OleDateTime& end)
{
    if (!start.ParseDateTime(m_starts->text()) || !isValid(start)) {
        tell(BadStart);
        m_starts->setFocus();
        return false;
    }
    if (!end.ParseDateTime(m_ends->text()) || !isValid(end)) {
        tell(BadEnd);
        m_ends->setFocus();
        return false;
    }
    if (m_allDay->isChecked()) {
        start = midnightOf(start);
        end = midnightOf(end);
    }
    if (end < start) {
        tell(EndBeforeStart);
        m_ends->setFocus();
        return false;
    }
    return true;
}

bool AppointmentDialog::onOk()
{
    device::OleDateTime start, end;
    if (!readTimes(start, end))
        return false;
    // Work on a copy, so that a save the store refuses leaves the caller's appointment as it was.
    Appointment edited = m_appointment;
    edited.setSubject(m_subject->text());
    edited.setLocation(m_location->text());
    edited.setCategories(m_categories->text());
    edited.setAllDayEvent(m_allDay->isChecked());
    if (!edited.setStart(start) || !edited.setEnd(end)) {
        tell(EndBeforeStart);
        return false;
    }
    const int selection = m_occurs->curSel();
    if (selection >= 0 && std::size_t(selection) < m_choices.size())
        RecurrenceChoice::apply(m_choices[std::size_t(selection)], edited);
    Error error = Error::None;
    if (!edited.save(&error)) {
        tell(u"The appointment cannot be saved: " + device::fromUtf8(errorText(error)) + u".");
        return false;
    }
    m_appointment = edited;
    m_saved = true;
    return true;
}

void AppointmentDialog::startChanged()
{
    device::OleDateTime start;
    if (!start.ParseDateTime(m_starts->text()) || !isValid(start))
        return;
    // The weekday and day in the "Occurs" texts follow the start as it is typed, and so does the end.
    fillOccurs(start);
    const device::OleDateTime end = start + m_length;
    if (!isValid(end))
        return;
    m_settingEnd = true;
    m_ends->setText(end.Format(m_allDay->isChecked() ? device::VAR_DATEVALUEONLY : 0));
    m_settingEnd = false;
}

void AppointmentDialog::endChanged()
{
    device::OleDateTime start, end;
    if (m_settingEnd || !start.ParseDateTime(m_starts->text()) || !end.ParseDateTime(m_ends->text()) || !isValid(start)
        || !isValid(end) || end < start)
        return;
    m_length = end - start;
}

void AppointmentDialog::confirmDelete()
{
    if (ui::messageBox(this, DeleteQuestion, Caption, ui::MB_YESNO | ui::MB_ICONQUESTION) != ui::IDYES)
        return;
    Error error = Error::None;
    if (!m_appointment.remove(&error)) {
        tell(u"The appointment cannot be deleted: " + device::fromUtf8(errorText(error)) + u".");
        return;
    }
    m_deleted = true;
    endDialog(ui::IDOK);
}

bool AppointmentDialog::onCommand(int id, int code, ui::WindowHandle source)
{
    if (id == deleteId && code == ui::BN_CLICKED) {
        confirmDelete();
        return true;
    }
    if (id == startsId && code == ui::EN_CHANGE) {
        startChanged();
        return true;
    }
    if (id == endsId && code == ui::EN_CHANGE) {
        endChanged();
        return true;
    }
    if (id == allDayId && code == ui::BN_CLICKED) {
        device::OleDateTime start, end;
        if (start.ParseDateTime(m_starts->text()) && end.ParseDateTime(m_ends->text()) && isValid(start) && isValid(end)) {
            if (m_allDay->isChecked())
                showTimes(midnightOf(start), midnightOf(end));
            else
                showTimes(start, end);
        }
        return true;
    }
    return Dialog::onCommand(id, code, source);
}

} // namespace pim
