#pragma once
// Brings the events of an iCalendar document into the appointment store, in one transaction:
// everything lands, or nothing does.
//
// Each event becomes one appointment; a repeating one becomes a series when the store can repeat
// it exactly (RuleMapping), its EXDATEs and changed occurrences as deleted occurrences; otherwise
// its occurrences within the window become appointments of their own. A changed occurrence
// (RECURRENCE-ID) is an appointment of its own. Nothing is left out without a reason in the
// summary.
//
// Importing the same document again changes the appointments it brought the first time instead
// of adding new ones: an event's appointments carry its UID (and, for single occurrences, the
// occurrence's RECURRENCE-ID), and what the store has under that UID is brought to what the
// document says now — changed in place, added, or removed.
//
// All-day events keep the store's convention: they end at midnight of their last day (iCalendar
// ends them at midnight after it).

#include "platform/ical/Event.h"
#include "platform/pim/Error.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace ical {
class Calendar;
}

namespace pim {

class Application;

class CalendarImport {
public:
    // At most this many occurrences per expanded event, and in the whole import.
    static constexpr std::size_t kMaxOccurrencesPerEvent = 10'000;
    static constexpr std::size_t kMaxOccurrences = 200'000;

    struct Skipped {
        int line = 0;
        std::string uid;
        std::string summary;
        std::string reason;
    };
    struct Summary {
        std::size_t events = 0;       // events of the document brought in (each counted once)
        std::size_t single = 0;       // ... as a single appointment (changed occurrences included)
        std::size_t series = 0;       // ... as a series of the store
        std::size_t expanded = 0;     // ... as its occurrences within the window
        std::size_t occurrences = 0;  // the appointments those expanded events became
        std::size_t cancelled = 0;    // STATUS:CANCELLED: not brought in, and removed if they were
        std::vector<Skipped> skipped; // with reasons, in document order
        // The store's side: appointments added, changed in place and removed.
        std::size_t added = 0;
        std::size_t updated = 0;
        std::size_t removed = 0;
    };
    // Called now and then while the store is written: events done, of how many.
    using Progress = std::function<void(std::size_t done, std::size_t total)>;

    // `from` and `to` bound the occurrences of the events that are expanded (local time).
    CalendarImport(Application& application, ical::LocalTime from, ical::LocalTime to);

    // The document's events into the store. False with the store's error when writing failed:
    // then nothing of the document is in the store.
    bool run(const ical::Calendar& calendar, Summary& summary, Error* error = nullptr,
             const Progress& progress = {});

private:
    Application& m_application;
    ical::LocalTime m_from;
    ical::LocalTime m_to;
};

} // namespace pim
