#pragma once
// The month and weekday names of English (United States), the device's only locale.

#include "platform/device/WideText.h"

namespace device {

class LocaleNames {
public:
    // Month 1-12, weekday 0 = Sunday; empty text outside those ranges.
    static WideView monthName(int month);
    static WideView monthAbbreviation(int month);
    static WideView weekdayName(int weekday);
    static WideView weekdayAbbreviation(int weekday);

    // The month (1-12) or weekday (0-6) a word names, in full or by its first three letters, in
    // any letter case; -1 when it names none.
    static int findMonth(WideView word);
    static int findWeekday(WideView word);
};

} // namespace device
