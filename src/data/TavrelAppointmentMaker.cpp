#include "data/TavrelAppointmentMaker.h"

#include "common/QoLog.h"
#include "data/TavrelNewAppointment.h"
#include "platform/pim/Application.h"

namespace {

// The weekday bit of the store's day-of-week mask: Sunday 1, Monday 2 … Saturday 64.
int WeekdayBit(const device::OleDateTime& date) { return 1 << (date.GetDayOfWeek() - 1); }

bool Tell(CQoString* why, const char16_t* what, pim::Error error)
{
    CQoString text(what);
    if (error != pim::Error::None) {
        text += u": ";
        text += CQoString(device::fromUtf8(pim::errorText(error)).c_str());
    }
    CQoLog::Log(u"CTavrelAppointmentMaker: %s\n", text.GetString());
    if (why)
        *why = text;
    return false;
}

} // namespace

bool CTavrelAppointmentMaker::Fill(pim::Appointment& item, const CTavrelNewAppointment& appointment)
{
    // The start first: setting it keeps the duration, so the end set afterwards is the one asked for.
    if (!item.setStart(appointment.start) || !item.setEnd(appointment.end))
        return false;
    item.setAllDayEvent(appointment.IsAllDay());
    using Recurrence = CTavrelNewAppointment::Recurrence;
    switch (appointment.recurrence) {
    case Recurrence::None:
        item.clearRecurrencePattern();
        break;
    case Recurrence::Weekly: {
        pim::RecurrencePattern& pattern = item.getRecurrencePattern();
        pattern.setRecurrenceType(pim::olRecursWeekly);
        pattern.setDayOfWeekMask(WeekdayBit(appointment.start));
        pattern.setNoEndDate(true);
        break;
    }
    case Recurrence::Monthly: {
        pim::RecurrencePattern& pattern = item.getRecurrencePattern();
        pattern.setRecurrenceType(pim::olRecursMonthly);
        pattern.setDayOfMonth(appointment.start.GetDay());
        break;
    }
    case Recurrence::Yearly: {
        pim::RecurrencePattern& pattern = item.getRecurrencePattern();
        pattern.setRecurrenceType(pim::olRecursYearly);
        pattern.setMonthOfYear(appointment.start.GetMonth());
        pattern.setDayOfMonth(appointment.start.GetDay());
        break;
    }
    }
    item.setSubject(appointment.subject.View());
    return true;
}

bool CTavrelAppointmentMaker::Add(const CTavrelNewAppointment& appointment, CQoString* why)
{
    pim::Error error = pim::Error::None;
    std::unique_ptr<pim::Appointment> item = m_store.createItem(pim::olAppointmentItem, &error);
    if (!item)
        return Tell(why, u"The appointment cannot be created", error);
    if (!Fill(*item, appointment))
        return Tell(why, u"The appointment's times are not valid", pim::Error::None);
    if (!item->save(&error))
        return Tell(why, u"The appointment cannot be saved", error);
    const std::uint32_t oid = item->oid();
    item.reset();
    m_lastOid = oid;

    std::unique_ptr<pim::Appointment> saved = m_store.getItemFromOid(oid, &error);
    if (!saved)
        return Tell(why, u"The new appointment cannot be read back", error);
    if (!appointment.fromTemplate && !saved->display(&error))
        return Tell(why, u"The new appointment cannot be opened", error);
    return true;
}
