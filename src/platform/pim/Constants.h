#pragma once
// The handheld object model's numbers, kept so that calendar code reads as it would there.

namespace pim {

// Folder kinds of getDefaultFolder().
constexpr int olFolderCalendar = 9;

// Item kinds of createItem().
constexpr int olAppointmentItem = 1;

// Recurrence types (RecurrencePattern::recurrenceType). There is no type 4.
constexpr int olRecursDaily = 0;
constexpr int olRecursWeekly = 1;
constexpr int olRecursMonthly = 2;   // day N of every month
constexpr int olRecursMonthNth = 3;  // the n-th given weekday of every month
constexpr int olRecursYearly = 5;    // day N of month M every year
constexpr int olRecursYearNth = 6;   // the n-th given weekday of month M every year

// Day-of-week mask bits.
constexpr int olSunday = 1;
constexpr int olMonday = 2;
constexpr int olTuesday = 4;
constexpr int olWednesday = 8;
constexpr int olThursday = 16;
constexpr int olFriday = 32;
constexpr int olSaturday = 64;

// Object identifiers: 0 and all-ones are never given to an appointment.
constexpr unsigned kNoOid = 0;
constexpr unsigned kInvalidOid = 0xFFFFFFFFu;

} // namespace pim
