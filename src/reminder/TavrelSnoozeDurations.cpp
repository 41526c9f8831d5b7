#include "reminder/TavrelSnoozeDurations.h"

std::optional<device::OleDateTimeSpan> CTavrelSnoozeDurations::Find(device::WideView text)
{
    for (const Duration& duration : All)
        if (device::equalsNoCase(text, duration.text))
            return device::OleDateTimeSpan(0, 0, duration.minutes, 0);
    return std::nullopt;
}
