#pragma once
// CTavrelSnoozeDurations: the snooze durations of the reminder dialog's drop-down list, in the order
// the list shows them, and the time each adds. Texts compare without regard to case.

#include "platform/device/OleDateTimeSpan.h"
#include "platform/device/WideText.h"

#include <array>
#include <optional>

class CTavrelSnoozeDurations {
public:
    struct Duration {
        const char16_t* text;
        int minutes;
    };
    static constexpr std::array<Duration, 10> All {{
        {u"5 min", 5},
        {u"10 min", 10},
        {u"20 min", 20},
        {u"30 min", 30},
        {u"1 hr", 60},
        {u"90 min", 90},
        {u"4 hrs", 4 * 60},
        {u"1 day", 24 * 60},
        {u"5 days", 5 * 24 * 60},
        {u"1 week", 7 * 24 * 60},
    }};
    // What OK snoozes every due reminder by, and what each refresh selects.
    static constexpr const char16_t* Default = u"5 min";

    // The span a text stands for; nothing for a text that is none of the ten.
    static std::optional<device::OleDateTimeSpan> Find(device::WideView text);
};
