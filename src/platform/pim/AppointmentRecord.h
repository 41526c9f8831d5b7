#pragma once
// One appointment as the store keeps it: the plain data behind an Appointment object.

#include "platform/device/WideText.h"
#include "platform/pim/Recipients.h"
#include "platform/pim/RecurrencePattern.h"
#include "platform/pim/TimeLine.h"

#include <cstdint>
#include <optional>

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
};

} // namespace pim
