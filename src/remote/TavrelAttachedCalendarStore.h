#pragma once
// CTavrelAttachedCalendarStore: where the attached calendars are kept between runs — a registry key
// per calendar under HKEY_CURRENT_USER "Software\Orvix\Tavrel\Calendars" (its "URL", and a subkey
// per category with its "Visible" flag), and a local copy of its document in
// "\TEMP\Cached\RemoteCalendars\NAME\NAME.XML" (16-bit little-endian characters, no byte-order
// mark, as Serialize writes it) with copies of its pictures and event icons beside it.
//
// A calendar's name comes from its document, so it is made safe before it becomes a folder or file
// name (CTavrelCachePath::SafeName): whatever it says, the local copy stays in its own folder below
// "\TEMP\Cached\RemoteCalendars". A name that cannot be a registry key of its own (empty, holding
// "\" or control characters, or too long to enumerate) is not storable, and such a calendar is not
// attached at all.
//
// Failures are returned as the text the user is to be told, so that the caller can show it once it
// holds no lock.

#include "common/QoString.h"
#include "remote/TavrelRemoteCalendar.h"

#include <memory>
#include <vector>

class CTavrelCalendar;
class CTavrelSettings;

class CTavrelAttachedCalendarStore {
public:
    static constexpr const char16_t* LocalCopiesFolder = u"\\TEMP\\Cached\\RemoteCalendars";
    static constexpr const char16_t* UrlValue = u"URL";
    // Enumerated key names are read into 260 characters; the handheld's key names stop at 255.
    static constexpr unsigned MaxNameLength = 255;

    explicit CTavrelAttachedCalendarStore(CTavrelSettings& settings);

    static bool IsStorableName(const CQoString& name);
    static CQoString LocalCopyFolder(const CQoString& name);
    static CQoString LocalCopyFile(const CQoString& name);

    // Keeps a newly attached calendar: its pictures and document in the local copy's folder (the
    // document written whole or not at all), then its "URL" and category flags. False, with
    // "Error saving Calendar 'NAME'" in `message`, when any of it fails; nothing of it is kept then.
    bool Save(CTavrelRemoteCalendar& calendar, CQoString& message);
    // Forgets a calendar: its registry key with everything below it and its local copy. Pictures in
    // the download cache stay.
    bool Delete(const CQoString& name);
    // Stores every category's "Visible" flag now.
    bool SaveCategoryVisibility(const CTavrelCalendar& calendar);
    // Sets every category's flag from the registry (shown when it holds none).
    void LoadCategoryVisibility(CTavrelCalendar& calendar);

    struct Loaded {
        std::vector<std::unique_ptr<CTavrelRemoteCalendar>> calendars;
        // "Error reading Calendar 'NAME'" for each that could not be read; each of those is forgotten.
        std::vector<CQoString> messages;
    };
    // Every attached calendar from its local copy, in the order of the registry, with its category
    // flags. Nothing is fetched: pictures come from the download cache as it is, or from the local
    // copy's folder where the cache has none. A calendar without an address or a
    // readable, loadable local copy is reported and forgotten; the others load all the same.
    Loaded LoadAll();

private:
    CTavrelSettings& m_settings;
};
