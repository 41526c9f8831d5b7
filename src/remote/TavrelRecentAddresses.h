#pragma once
// CTavrelRecentAddresses: the addresses attached most recently, newest first, kept as "Recent0" to
// "Recent5" under HKEY_CURRENT_USER "Software\Orvix\Tavrel\Remote". The Attached Calendars dialog
// offers the first five in its address list.
//
// Remembering an address that is already offered — one that an offered entry begins with,
// ignoring case — changes nothing; otherwise every entry moves one place down (Recent5 drops out)
// and the address becomes Recent0. The stored entries count as offered too, so attaching the same
// address twice while the dialog is open remembers it once.

#include "common/QoString.h"

#include <vector>

class CTavrelRecentAddresses {
public:
    static constexpr int StoredCount = 6;
    static constexpr int OfferedCount = 5;

    // The non-empty values of Recent0 to Recent4, in that order.
    static std::vector<CQoString> Offered();
    // False when the address was offered already (nothing changes) or could not be stored.
    static bool Remember(const CQoString& address, const std::vector<CQoString>& shown);

private:
    static CQoString ValueName(int index);
};
