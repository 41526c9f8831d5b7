#pragma once
// Writing date-times in English (United States), as the handheld's VarBstrFromDate writes them:
// "12/8/2026 3:45:00 PM"; the time is left out at midnight ("12/8/2026") and the date on day zero,
// 30 December 1899 ("3:45:00 PM", and "12:00:00 AM" for day zero at midnight). Month, day and hour
// carry no leading zero, and years are written with as many digits as they have ("1/1/100").

#include "platform/device/DateConversion.h"
#include "platform/device/SystemTime.h"
#include "platform/device/WideText.h"

#include <cstdint>

namespace device {

class DateFormatter {
public:
    static void appendDate(WideString& out, const SystemTime& time); // "12/8/2026"
    static void appendTime(WideString& out, const SystemTime& time); // "3:45:00 PM"
};

// The handheld's VarBstrFromDate. VAR_DATEVALUEONLY writes the date alone and VAR_TIMEVALUEONLY
// the time alone (the time wins when both are given); the date is rounded to the second first.
// InvalidArgument (and `out` unchanged) for a number that is no date of years 100-9999.
DateError varBstrFromDate(double date, std::uint32_t flags, WideString& out);

} // namespace device
