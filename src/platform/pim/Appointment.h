#pragma once
// One appointment of the store, shaped like the handheld object model's appointment item.
//
// An Appointment is a copy: its fields change in memory and reach the store (and every other
// program) with save(). A new one (Application::createItem) has object identifier 0 until it is
// saved; a saved one keeps its identifier for life. Items found with recurrences included may be
// single occurrences of a series: they carry the occurrence's own start and end and the series'
// identifier, and they are read-only (save and remove refuse them; display shows the series).
//
// Dates are local date-times (automation dates). Setting the start keeps the duration, moving the end
// along, so a caller sets the start first and then the end; an end before the start is refused by
// save().
//
// An Appointment keeps the store open for as long as it lives, so it may outlive the
// Application that made it.

#include "platform/device/OleDateTime.h"
#include "platform/device/WideText.h"
#include "platform/pim/AppointmentRecord.h"
#include "platform/pim/Error.h"
#include "platform/pim/Recipients.h"
#include "platform/pim/RecurrencePattern.h"

#include <cstdint>
#include <memory>
#include <string>

namespace pim {

class Store;

class Appointment {
public:
    // Made by Application (createItem, getItemFromOid) and Items (find, findNext).
    Appointment(std::shared_ptr<Store> store, AppointmentRecord record, bool isOccurrence = false);

    // Never 0 or 0xFFFFFFFF once saved; the same for every occurrence of a series.
    std::uint32_t oid() const { return m_record.oid; }

    device::WideView subject() const { return m_record.subject; }
    void setSubject(device::WideView subject) { m_record.subject = subject; }
    device::WideView location() const { return m_record.location; }
    void setLocation(device::WideView location) { m_record.location = location; }
    // Comma-separated: "Business, Holiday".
    device::WideView categories() const { return m_record.categories; }
    void setCategories(device::WideView categories) { m_record.categories = categories; }

    device::OleDateTime start() const;
    device::OleDateTime end() const;
    // False (and nothing changes) for a date-time that is not valid, or when the kept duration
    // would carry the end past 31 December 9999.
    bool setStart(const device::OleDateTime& start);
    bool setEnd(const device::OleDateTime& end);
    bool allDayEvent() const { return m_record.allDay; }
    void setAllDayEvent(bool allDay) { m_record.allDay = allDay; }

    Recipients& recipients() { return m_record.recipients; }
    const Recipients& recipients() const { return m_record.recipients; }

    bool isRecurring() const { return m_record.recurrence.has_value(); }
    // The pattern, making the appointment recurring (weekly, no end) if it was not.
    RecurrencePattern& getRecurrencePattern();
    // Null for a single appointment; never changes it.
    const RecurrencePattern* recurrencePattern() const;
    // Makes the appointment a single one again (on save).
    void clearRecurrencePattern() { m_record.recurrence.reset(); }

    bool isOccurrence() const { return m_isOccurrence; }

    // The identity the appointment has across calendars (iCalendar's UID); a new appointment gets
    // one of its own when it is first saved, unless it was given one.
    const std::string& uid() const { return m_record.uid; }
    void setUid(std::string uid) { m_record.uid = std::move(uid); }
    // For an appointment that stands for one occurrence of the series its uid names: that
    // occurrence's original start as iCalendar writes it. Empty otherwise.
    const std::string& recurrenceId() const { return m_record.recurrenceId; }
    void setRecurrenceId(std::string recurrenceId) { m_record.recurrenceId = std::move(recurrenceId); }

    // Writes the appointment to the store, giving a new one its identifier. Fails with
    // InvalidAppointment (end before start), InvalidRecurrence, IsOccurrence, NotFound (deleted
    // meanwhile), DuplicateUid, Busy, StoreFull or an I/O error.
    bool save(Error* error = nullptr);
    // Deletes the appointment (a series with all its occurrences). The object stays usable: it
    // becomes a new, unsaved appointment with the same fields.
    bool remove(Error* error = nullptr);
    // Hands the appointment (for an occurrence: its series, fresh from the store) to the
    // installed appointment editor and returns when the editor is closed. NoEditor when none is
    // installed; EditorFailed when it could not be shown.
    bool display(Error* error = nullptr);

    const AppointmentRecord& record() const { return m_record; }

private:
    std::shared_ptr<Store> m_store;
    AppointmentRecord m_record;
    bool m_isOccurrence;
};

} // namespace pim
