#include "platform/pim/TimeLine.h"

#include "platform/device/VariantTime.h"

namespace pim {

std::optional<Milliseconds> TimeLine::fromAutomationDate(double date)
{
    std::optional<std::int64_t> instant = device::variantTimeToMilliseconds(date);
    if (!instant || !device::isRepresentableMilliseconds(*instant))
        return std::nullopt;
    return *instant;
}

double TimeLine::toAutomationDate(Milliseconds instant) { return device::millisecondsToVariantTime(instant); }

std::optional<Milliseconds> TimeLine::fromDateTime(const device::OleDateTime& date)
{
    if (date.GetStatus() != device::OleDateTime::Status::Valid)
        return std::nullopt;
    return fromAutomationDate(date.GetValue());
}

device::OleDateTime TimeLine::toDateTime(Milliseconds instant) { return device::OleDateTime(toAutomationDate(instant)); }

Milliseconds TimeLine::earliest() { return midnightOf(device::kFirstDayNumber); }

// The last whole second: the device's date records round to seconds, and 23:59:59.5 would
// already become a year 10000.
Milliseconds TimeLine::latest() { return midnightOf(device::kLastDayNumber) + kMillisecondsPerDay - 1000; }

std::int64_t TimeLine::dayOf(Milliseconds instant) { return floorDiv(instant, kMillisecondsPerDay); }

std::int64_t TimeLine::floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace pim
