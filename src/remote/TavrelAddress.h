#pragma once
// CTavrelAddress: what the user types in the Attached Calendars dialog made into an address that
// can be fetched, and what kind of document an address names.
//
// Normalising looks at the text as typed, lower-cased (L), and changes the text in three steps:
//   1. L holds no "." → ".com" is appended (a bare host name);
//   2. L holds none of "www.", "\\" and "//" → "http://www." goes in front; otherwise, when L
//      holds no ":", "http://" does;
//   3. L names no document (no ".xml", nor anything another calendar format claims) → "/" unless
//      the text already ends with one, then "Tavrel.xml": the host's directory document.
// So "sports" becomes "http://www.sports.com/Tavrel.xml" and "www.x.com/cal.xml" becomes
// "http://www.x.com/cal.xml". The word "tavrel" stands for the system's own host (CTavrelOwnHost),
// whatever address that is configured to.
//
// An address whose lower-cased text contains "tavrel.xml" names a host directory document (a
// redirect, a message or a list of calendars), fetched afresh every time; anything else names a
// calendar document.

#include "common/QoString.h"

#include <functional>

class CTavrelAddress {
public:
    static constexpr const char16_t* DirectoryDocument = u"Tavrel.xml";

    // Whether an address (lower-cased) already names a calendar document of a known format.
    using DocumentTest = std::function<bool(const CQoString& lowered)>;

    // The typed text, trimmed, as a fetchable address; `ownHost` is the address the word "tavrel"
    // stands for. Empty for a text of blanks only.
    static CQoString Normalise(const CQoString& typed, const CQoString& ownHost, const DocumentTest& namesDocument);
    // A link of a host directory: an address that names no document gets "/" (unless it ends with
    // one) and "Tavrel.xml".
    static CQoString CompleteLink(const CQoString& address, const DocumentTest& namesDocument);
    static bool IsHostDirectory(const CQoString& address);
    static CQoString Lowered(const CQoString& text);
};
