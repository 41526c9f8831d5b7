#pragma once
// CTavrelCalendarFormat: one kind of document that an attached calendar's address may name, and
// how a fetched copy of it becomes a calendar. Attaching asks the formats, in order, which one an
// address names (CTavrelCalendarFormats): an iCalendar feed (CTavrelICalendarFormat) claims its
// addresses, and the Tavrel calendar document takes every calendar address no other format claims.
// A format names the address to fetch and how old a cached copy may be, and reads the fetched file
// into a CTavrelRemoteCalendar; normalising leaves the addresses a format claims as they are, and
// the rest of attaching — the cache, the dialog's list, the local copy, the calendar menu — is the
// same for every format.

#include "common/QoString.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class CTavrelRemoteCalendar;

class CTavrelCalendarFormat {
public:
    virtual ~CTavrelCalendarFormat();

    // Whether the address (lower-cased) names a document of this format as it stands.
    virtual bool NamesDocument(const CQoString& lowered) const = 0;
    // The address to fetch a document of this format from.
    virtual CQoString FetchAddress(const CQoString& address) const { return address; }
    // How old a cached copy may be and still be attached without fetching; none: the cache's
    // default.
    virtual std::optional<std::chrono::seconds> MaximumAge() const { return std::nullopt; }
    // The calendar in the fetched bytes of `address`. Null when there is none; `message` then holds
    // what the user is to be told (empty when they were told already).
    virtual std::unique_ptr<CTavrelRemoteCalendar> Read(const CQoString& address, std::span<const std::uint8_t> bytes,
                                                        CQoString& message) const = 0;
};

class CTavrelCalendarFormats {
public:
    // The format of a calendar address: the first that names it, else the Tavrel calendar document.
    static const CTavrelCalendarFormat& For(const CQoString& address);
    // Whether any format names the address (lower-cased) as it stands.
    static bool NamesDocument(const CQoString& lowered);

private:
    static const std::vector<const CTavrelCalendarFormat*>& All();
};
