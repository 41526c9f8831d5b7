#pragma once
// CTavrelICalendarFormat: an iCalendar feed (RFC 5545) as a remote calendar. It names an address
// that ends in ".ics" (before any query) or has the scheme "webcal" or "webcals", which are
// fetched over http and https. Copies in the cache are fetched again after an hour: feeds change
// more often than calendar documents.
//
// The feed is read and its repeating events expanded by the platform's iCalendar library; this
// class makes the calendar of it:
// - its name is X-WR-CALNAME, else the address's file name without ".ics";
// - each event goes into the category of its first CATEGORIES value; events without one, into a
//   category named after the calendar;
// - the occurrences from WindowDaysBefore days before today to WindowDaysAfter days after it are
//   its events; one that spans midnight becomes one event per day it touches (an event of the
//   calendar lies within one day), whole days as all-day events;
// - the built-in pictures are its skin and the built-in icons its events' icons.
// Texts lose line breaks and the angle brackets that would end a tag of the local copy.

#include "remote/TavrelCalendarFormat.h"

class CTavrelICalendarFormat : public CTavrelCalendarFormat {
public:
    static constexpr int WindowDaysBefore = 62;
    static constexpr int WindowDaysAfter = 366;
    static constexpr std::chrono::hours MaxAge{1};
    // An event longer than this is shown on its first days only.
    static constexpr int MaxDaysPerEvent = 366;
    static constexpr const char16_t* ReadError = u"Error reading iCalendar feed: %s";

    bool NamesDocument(const CQoString& lowered) const override;
    CQoString FetchAddress(const CQoString& address) const override;
    std::optional<std::chrono::seconds> MaximumAge() const override { return MaxAge; }
    std::unique_ptr<CTavrelRemoteCalendar> Read(const CQoString& address, std::span<const std::uint8_t> bytes,
                                                CQoString& message) const override;

    // The name of a feed without X-WR-CALNAME: the last part of its path, without ".ics".
    static CQoString NameFromAddress(const CQoString& address);
};
