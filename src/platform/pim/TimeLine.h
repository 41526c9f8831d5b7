#pragma once
// The store keeps every instant as whole milliseconds on the true time line (local time), because
// automation dates are not in time order before 30 December 1899 and do not add up exactly. These
// helpers are the one place where the two meet.

#include "platform/device/OleDateTime.h"

#include <cstdint>
#include <optional>

namespace pim {

using Milliseconds = std::int64_t;

constexpr Milliseconds kMillisecondsPerDay = 86'400'000;

class TimeLine {
public:
    // The instant of an automation date, or nothing for a number that is no date of years
    // 100-9999.
    static std::optional<Milliseconds> fromAutomationDate(double date);
    static double toAutomationDate(Milliseconds instant);
    // The same for date-time values; nothing for one that is not valid.
    static std::optional<Milliseconds> fromDateTime(const device::OleDateTime& date);
    static device::OleDateTime toDateTime(Milliseconds instant);

    // The first and the last instant a stored appointment may have (1/1/100 and 12/31/9999
    // 23:59:59): anything a restriction bounds beyond these is clamped to them.
    static Milliseconds earliest();
    static Milliseconds latest();

    // Day number (days since 30 December 1899) of an instant, and the instant of a day's midnight.
    static std::int64_t dayOf(Milliseconds instant);
    static Milliseconds midnightOf(std::int64_t dayNumber) { return dayNumber * kMillisecondsPerDay; }

    static std::int64_t floorDiv(std::int64_t a, std::int64_t b);
};

} // namespace pim
