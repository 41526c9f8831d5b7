#include "platform/pim/Appointment.h"

#include "platform/pim/AppointmentEditor.h"
#include "platform/pim/Store.h"

namespace pim {

Appointment::Appointment(std::shared_ptr<Store> store, AppointmentRecord record, bool isOccurrence)
    : m_store(std::move(store)), m_record(std::move(record)), m_isOccurrence(isOccurrence)
{
}

device::OleDateTime Appointment::start() const { return TimeLine::toDateTime(m_record.start); }

device::OleDateTime Appointment::end() const { return TimeLine::toDateTime(m_record.end); }

bool Appointment::setStart(const device::OleDateTime& date)
{
    std::optional<Milliseconds> start = TimeLine::fromDateTime(date);
    if (!start)
        return false;
    const Milliseconds end = *start + (m_record.end - m_record.start);
    if (end > TimeLine::latest())
        return false;
    m_record.start = *start;
    m_record.end = end;
    if (m_record.recurrence && !m_isOccurrence)
        m_record.recurrence->setStartDay(TimeLine::dayOf(*start));
    return true;
}

bool Appointment::setEnd(const device::OleDateTime& date)
{
    std::optional<Milliseconds> end = TimeLine::fromDateTime(date);
    if (!end)
        return false;
    m_record.end = *end;
    return true;
}

RecurrencePattern& Appointment::getRecurrencePattern()
{
    if (!m_record.recurrence)
        m_record.recurrence.emplace(TimeLine::dayOf(m_record.start));
    return *m_record.recurrence;
}

const RecurrencePattern* Appointment::recurrencePattern() const
{
    return m_record.recurrence ? &*m_record.recurrence : nullptr;
}

bool Appointment::save(Error* error)
{
    if (m_isOccurrence)
        return fail(error, Error::IsOccurrence);
    const Error result = m_record.oid == 0 ? m_store->insert(m_record) : m_store->update(m_record);
    if (result != Error::None)
        return fail(error, result);
    succeed(error);
    return true;
}

bool Appointment::remove(Error* error)
{
    if (m_isOccurrence)
        return fail(error, Error::IsOccurrence);
    if (m_record.oid == 0)
        return fail(error, Error::NotFound);
    if (Error result = m_store->remove(m_record.oid); result != Error::None)
        return fail(error, result);
    m_record.oid = 0;
    succeed(error);
    return true;
}

bool Appointment::display(Error* error)
{
    std::shared_ptr<AppointmentEditor> editor = AppointmentEditor::installed();
    if (!editor)
        return fail(error, Error::NoEditor);
    if (m_isOccurrence) {
        AppointmentRecord series;
        if (Error result = m_store->fetch(m_record.oid, series); result != Error::None)
            return fail(error, result);
        Appointment seriesItem(m_store, std::move(series));
        if (!editor->edit(seriesItem))
            return fail(error, Error::EditorFailed);
    } else if (!editor->edit(*this)) {
        return fail(error, Error::EditorFailed);
    }
    succeed(error);
    return true;
}

} // namespace pim
