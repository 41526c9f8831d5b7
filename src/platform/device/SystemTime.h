#pragma once
// The broken-down local date-time record the handheld's time functions exchange (its SYSTEMTIME):
// month 1-12, day of week 0 = Sunday, milliseconds 0-999.

#include <cstdint>

namespace device {

struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

} // namespace device
