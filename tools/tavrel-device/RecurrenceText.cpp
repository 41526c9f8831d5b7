#include "RecurrenceText.h"

#include "platform/device/LocaleNames.h"
#include "platform/device/WideText.h"
#include "platform/pim/Constants.h"
#include "platform/pim/RecurrencePattern.h"

namespace {

std::string weekday(int index) { return device::toUtf8(device::LocaleNames::weekdayName(index)); }
std::string month(int number) { return device::toUtf8(device::LocaleNames::monthName(number)); }

// "every week", "every 3 weeks".
std::string every(int interval, const char* unit)
{
    if (interval <= 1)
        return std::string("every ") + unit;
    return "every " + std::to_string(interval) + " " + unit + "s";
}

// "Monday", "Monday and Wednesday", "Monday, Wednesday and Friday".
std::string weekdays(int mask)
{
    std::string text;
    int remaining = 0;
    for (int day = 0; day < 7; ++day)
        remaining += (mask >> day) & 1;
    for (int day = 0; day < 7; ++day) {
        if (!((mask >> day) & 1))
            continue;
        --remaining;
        if (!text.empty())
            text += remaining == 0 ? " and " : ", ";
        text += weekday(day);
    }
    return text.empty() ? "no day" : text;
}

// The n-th weekday of a month: "the second Tuesday", "the last day"; the mask names the weekdays.
std::string nthWeekday(int instance, int mask)
{
    static const char* const ordinals[] = {"first", "second", "third", "fourth", "last"};
    const char* ordinal = instance >= 1 && instance <= 5 ? ordinals[instance - 1] : "?";
    return std::string("the ") + ordinal + " " + weekdays(mask);
}

} // namespace

std::string RecurrenceText::Describe(const pim::RecurrencePattern& pattern)
{
    std::string text;
    const int interval = pattern.interval();
    switch (pattern.recurrenceType()) {
    case pim::olRecursDaily:
        text = every(interval, "day");
        break;
    case pim::olRecursWeekly:
        text = every(interval, "week") + " on " + weekdays(pattern.dayOfWeekMask());
        break;
    case pim::olRecursMonthly:
        text = every(interval, "month") + " on day " + std::to_string(pattern.dayOfMonth());
        break;
    case pim::olRecursMonthNth:
        text = every(interval, "month") + " on " + nthWeekday(pattern.instance(), pattern.dayOfWeekMask());
        break;
    case pim::olRecursYearly:
        text = every(interval, "year") + " on " + month(pattern.monthOfYear()) + " " + std::to_string(pattern.dayOfMonth());
        break;
    case pim::olRecursYearNth:
        text = every(interval, "year") + " on " + nthWeekday(pattern.instance(), pattern.dayOfWeekMask()) + " of "
               + month(pattern.monthOfYear());
        break;
    default:
        return "an unknown kind of recurrence (" + std::to_string(pattern.recurrenceType()) + ")";
    }
    switch (pattern.endKind()) {
    case pim::RecurrencePattern::EndKind::NoEnd:
        break;
    case pim::RecurrencePattern::EndKind::EndDate:
        text += ", until " + device::toUtf8(pattern.patternEndDate().Format());
        break;
    case pim::RecurrencePattern::EndKind::Count:
        text += pattern.occurrences() == 1 ? ", once" : ", " + std::to_string(pattern.occurrences()) + " times";
        break;
    }
    return text;
}
