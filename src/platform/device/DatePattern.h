#pragma once
// strftime-style patterns over a date-time record, with English (United States) names:
//   %a %A  weekday "Tue" "Tuesday"      %b %B  month "Dec" "December"
//   %d     day 01-31                    %j     day of the year 001-366
//   %m     month 01-12                  %y %Y  year 26, 2026
//   %H     hour 00-23                   %I     hour 01-12          %p  AM or PM
//   %M %S  minute and second 00-59      %w     weekday 0-6 (0 = Sunday)
//   %x %X %c  the locale's date, time, and date and time ("12/8/2026 3:45:00 PM")
//   %%     a percent sign
// A '#' after the '%' drops leading zeros ("%#d" gives "8"). Anything else is copied as it stands,
// so a pattern can never make the formatter read or write out of bounds.

#include "platform/device/SystemTime.h"
#include "platform/device/WideText.h"

namespace device {

class DatePattern {
public:
    // `time` must be a valid record (as variantTimeToSystemTime fills it).
    static WideString format(const SystemTime& time, WideView pattern);
};

} // namespace device
