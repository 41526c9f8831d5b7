#pragma once
// One event of an iCalendar document (a VEVENT), as the platform uses it: its texts, its times
// in the device's local time, and how it repeats, both as the rule's parts (to map onto a store's
// own patterns) and as written (to expand it exactly as the document means it).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ical {

// Local wall time of the device in milliseconds since 30 December 1899 00:00, on the true time
// line the platform keeps dates on (day number × 86,400,000 + time of day).
using LocalTime = std::int64_t;

constexpr LocalTime kMillisecondsPerDay = 86'400'000;

// A date-time as written in the document, in the time of its own zone.
struct WallTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool isDate = false; // a DATE value: the day alone

    friend bool operator==(const WallTime&, const WallTime&) = default;
};

// How the event's times are anchored.
enum class TimeKind {
    Floating, // local time wherever the calendar is shown
    Utc,
    Zoned, // in the zone `Event::zone` names
};

// A recurrence rule's parts (RFC 5545 RECUR). Lists are empty when the rule does not give them.
struct RecurrenceRule {
    enum class Frequency { Secondly, Minutely, Hourly, Daily, Weekly, Monthly, Yearly };
    struct WeekdayNumber {
        int ordinal = 0; // 0 = every such weekday; 1 = the first, -1 = the last, ...
        int weekday = 0; // 0 = Sunday ... 6 = Saturday

        friend bool operator==(const WeekdayNumber&, const WeekdayNumber&) = default;
    };

    Frequency frequency = Frequency::Daily;
    int interval = 1;
    int count = 0; // 0 when the rule has none
    // The last instant an occurrence may start, in local time; for a DATE value, its midnight.
    std::optional<LocalTime> until;
    bool untilIsDate = false;
    int weekStart = 1; // 0 = Sunday, 1 = Monday (the default) ...
    std::vector<WeekdayNumber> byDay;
    std::vector<int> byMonthDay;
    std::vector<int> byMonth;
    std::vector<int> bySetPosition;
    // Parts that no calendar store of the day-and-time kind repeats by.
    bool hasTimeParts = false;  // BYHOUR, BYMINUTE, BYSECOND
    bool hasYearParts = false;  // BYYEARDAY, BYWEEKNO
    bool hasOtherCalendar = false; // RSCALE, leap months
    // The rule as written (RRULE's value), for expansion.
    std::string text;
};

struct Event {
    std::string uid;
    std::string summary;
    std::string location;
    std::vector<std::string> categories;
    // Each attendee's name (CN), or its address without "mailto:".
    std::vector<std::string> attendees;
    int sequence = 0;
    bool cancelled = false; // STATUS:CANCELLED

    // Start and end in local time. An all-day event (DTSTART a DATE) starts at midnight of its
    // first day and ends at midnight after its last (iCalendar's exclusive end).
    LocalTime start = 0;
    LocalTime end = 0;
    bool allDay = false;
    TimeKind timeKind = TimeKind::Floating;
    std::string zone; // the TZID of a zoned event
    WallTime startWall; // DTSTART as written, in its own zone
    LocalTime duration() const { return end - start; }

    // How it repeats: its RRULE, its deleted occurrences (EXDATE; a DATE value deletes the
    // occurrence of that day) and its added ones (RDATE), in local time.
    std::optional<RecurrenceRule> rule;
    std::vector<LocalTime> exceptionDates;
    std::vector<bool> exceptionIsDate;
    std::vector<LocalTime> extraDates;
    std::vector<std::string> extraDateKeys; // recurrenceKey of each added occurrence
    bool isRecurring() const { return rule.has_value() || !extraDates.empty(); }

    // Set when this VEVENT changes one occurrence of the series `uid` names: the occurrence it
    // replaces, as a key (recurrenceKey) and in local time.
    std::string recurrenceId;
    std::optional<LocalTime> recurrenceIdStart;
    bool recurrenceIdIsDate = false;
    bool rangeThisAndFuture = false; // RANGE=THISANDFUTURE

    int line = 0; // where its BEGIN:VEVENT stands in the document, for messages
};

// The key that names one occurrence of a series the same way in every document: a DATE as
// "YYYYMMDD", a floating date-time as "YYYYMMDDTHHMMSS", any other date-time in UTC as
// "YYYYMMDDTHHMMSSZ".
std::string recurrenceKey(int year, int month, int day, int hour, int minute, int second, bool isDate, bool isUtc);
// The local time a recurrenceKey() names; nothing for a text that is none.
std::optional<LocalTime> localTimeOfRecurrenceKey(const std::string& key);

} // namespace ical
