#pragma once
// CTavrelAppointmentMaker: puts a new appointment into the store — the last step of every "New"
// item of "<Personal>".
//
//   1. a new appointment item with the start, the end, the all-day flag (both times at midnight),
//      the recurrence and the subject;
//   2. saved; a save the store refuses ends here, and nothing is left behind;
//   3. fetched again by its new object identifier, and — unless it came from a template — shown
//      in the appointment editor, where the user fills in the rest or deletes it again.
//
// Recurrences: weekly on the start's weekday (Sunday 1, Monday 2, Tuesday 4 … Saturday 64) with
// no end; monthly on the start's day; yearly on the start's month and day.
//
// Failures return false with a short reason for the user ("the store is locked by another
// program"); the caller decides how to tell it.

#include "common/QoString.h"

#include <cstdint>

class CTavrelNewAppointment;

namespace pim {
class Appointment;
class Application;
} // namespace pim

class CTavrelAppointmentMaker {
public:
    explicit CTavrelAppointmentMaker(pim::Application& store) : m_store(store) {}

    bool Add(const CTavrelNewAppointment& appointment, CQoString* why = nullptr);

    // The object identifier of the appointment the last successful save created (0 before).
    std::uint32_t GetLastOid() const { return m_lastOid; }

    // Writes the fields of the new appointment onto a store item (for the tests of the rules).
    static bool Fill(pim::Appointment& item, const CTavrelNewAppointment& appointment);

private:
    pim::Application& m_store;
    std::uint32_t m_lastOid = 0;
};
