#pragma once
// One appointment as the store keeps it: the plain data behind an Appointment object.

#include "platform/device/WideText.h"
#include "platform/pim/Recipients.h"
#include "platform/pim/RecurrencePattern.h"
#include "platform/pim/TimeLine.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pim {

struct AppointmentRecord {
    std::uint32_t oid = 0; // 0 until first saved
    device::WideString subject;
    device::WideString location;
    device::WideString categories; // "Business, Holiday"
    Recipients recipients;
    Milliseconds start = 0; // for a series: the first day's start
    Milliseconds end = 0;
    bool allDay = false;
    std::optional<RecurrencePattern> recurrence;
    // The appointment's identity across calendars (iCalendar's UID), given when it is first saved
    // unless it came with one; ASCII in practice, UTF-8 in any case.
    std::string uid;
    // For an appointment that stands for one occurrence of the series `uid` names (a changed
    // occurrence, or one of a series the store cannot repeat by itself): the original start of
    // that occurrence as iCalendar writes it (iCalendar's RECURRENCE-ID). Empty otherwise. The pair
    // (uid, recurrenceId) is unique in the store.
    std::string recurrenceId;
};

} // namespace pim
