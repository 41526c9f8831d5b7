#pragma once
// CTavrelAttachedCalendarsCommand: "Attached..." (32799) — the Attached Calendars dialog over copies
// of the attached calendars, and, on OK, its list made the program's:
//   - every attached calendar that the edited list no longer holds (no calendar of the same name,
//     kind, copyright line and location) is forgotten: registry key and local copy;
//   - every calendar attached in the dialog is saved (local copy, icons, address, category flags),
//     unless a registered calendar has its name;
//   - the edited list replaces the attached calendars.
// The calendar list lock is held while the lists are read and while they are replaced, never while
// the dialog is shown; messages wait until it is let go. On Cancel nothing changes, except that
// category flags the user stored through Categories... are taken over by the calendars shown.
//
// The frame then rebuilds its menu and makes the first newly attached calendar the current one; a
// current calendar that was removed gives way to "<Personal>".

#include "common/QoString.h"

#include <vector>

class CTavrelApp;

class CTavrelAttachedCalendarsCommand {
public:
    struct Outcome {
        bool applied = false;
        // The first calendar attached whose name was new to the program; empty when none.
        CQoString firstAttached;
        // Whether the current calendar was among those removed.
        bool currentRemoved = false;
        // What the user is to be told (calendars that could not be saved).
        std::vector<CQoString> messages;
    };

    explicit CTavrelAttachedCalendarsCommand(CTavrelApp& app) : m_app(app) {}

    Outcome Run();

private:
    CTavrelApp& m_app;
};
