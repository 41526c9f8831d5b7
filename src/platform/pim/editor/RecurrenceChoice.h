#pragma once
// The choices of the appointment editor's "Occurs" list, worked out from the appointment's start:
//
//   Once                        no pattern
//   Every day                   daily, every day
//   Every Tuesday               weekly on the start's weekday
//   Day 8 of every month        monthly on the start's day
//   Every December 8            yearly on the start's month and day
//
// A pattern that is none of these (every two weeks, the second Monday, several weekdays) is
// offered as "Keep the current pattern" and left as it is.

#include "platform/device/OleDateTime.h"
#include "platform/device/WideText.h"

#include <vector>

namespace pim {

class Appointment;
class RecurrencePattern;

class RecurrenceChoice {
public:
    enum class Kind { Once, Daily, Weekly, Monthly, Yearly, Current };

    // The choices for a start, in list order; Current is appended when `keepCurrent` is set.
    static std::vector<Kind> choices(bool keepCurrent);
    static device::WideString text(Kind kind, const device::OleDateTime& start);

    // Which simple choice a pattern is for this start; Current when it is none of them.
    static Kind classify(const RecurrencePattern* pattern, const device::OleDateTime& start);

    // Gives the appointment the pattern of `kind` for its start (Current changes nothing). A
    // pattern of the same kind keeps its end; a new one has none.
    static void apply(Kind kind, Appointment& appointment);
};

} // namespace pim
