#pragma once
// CTavrelReader: the work of the reader thread. Each pass rebuilds the window collection with the
// events of the period the view shows, for the current calendar, tells the view to repaint, and
// waits before the next pass.
//
//   "<Personal>"  the appointment store's appointments of the period, recurrences expanded
//   "<Combined>"  the same, plus every visible category of every registered calendar (names
//                 "Meeting (Projects)") and of every remote calendar
//   a name        the visible categories of that registered or remote calendar
//
// Icons come from the icon rules: an appointment no rule matches is shown with no icon while the
// setting "DispalyDefaultIcons" is on, and left out while it is off.
//
// Locks: a rebuild holds the event lock and then the calendar list lock for its whole length and
// takes the rules lock only around one rule match. The view is asked for its date and mode, and
// posted to, only while none of them is held.
//
// Waits: after a post, 50 steps of 100 ms for "<Personal>" and "<Combined>", 10 for a named
// calendar, each step first checking the stop and refresh flags. A pass during which the view's
// date changed posts nothing and waits not at all: its events belong to a period no longer shown,
// so the next pass starts at once. The refresh flag also skips the store's read of a pass already
// under way, so the pass that follows a change comes at once.
//
// The object holds shared ownership of everything it reads, so the thread may outlive the
// application object's bounded wait at shut-down without touching freed memory.

#include "data/TavrelCalendarData.h"
#include "data/TavrelReaderPeriod.h"
#include "data/TavrelSleeper.h"

#include <chrono>
#include <memory>

class CTavrelRules;
class CTavrelSettings;

namespace pim {
class Application;
class Folder;
class Items;
} // namespace pim

class CTavrelReader {
public:
    struct Sources {
        std::shared_ptr<CTavrelCalendarData> data;
        std::shared_ptr<const CTavrelSettings> settings;
        std::shared_ptr<const CTavrelRules> rules;
        // The logged-on store; without it the store is not read.
        std::shared_ptr<pim::Application> outlook;
    };

    enum class PassResult {
        NoView,      // no main window or no view yet: slept a second
        Posted,      // rebuilt, posted VM_REFRESH_EVENTS and waited
        DateChanged, // rebuilt, but the view's date moved meanwhile: no post, no wait
        Stopped,     // the stop flag ended the pass early
    };

    static constexpr std::chrono::milliseconds WaitStep{100};
    static constexpr int StoreCalendarWaitSteps = 50; // "<Personal>" and "<Combined>"
    static constexpr int NamedCalendarWaitSteps = 10;
    static constexpr int NoViewWaitSteps = 10;

    // Without a sleeper of its own the reader sleeps for real.
    explicit CTavrelReader(Sources sources, std::shared_ptr<CTavrelSleeper> sleeper = nullptr);
    CTavrelReader(const CTavrelReader&) = delete;
    CTavrelReader& operator=(const CTavrelReader&) = delete;
    virtual ~CTavrelReader();

    // The thread's body: passes until the stop flag is set.
    void Run();
    // One pass.
    PassResult RunPass();

    // What the last rebuild read from the store (for tests and the benchmark).
    int GetLastStoreCount() const { return m_lastStoreCount; }

private:
    // Takes the calendar folder and its items, once; false while the store gives none.
    bool OpenStore();
    void Rebuild(const device::OleDateTime& date, const CTavrelReaderPeriod& period, const CQoString& current);
    void ReadStore(const CTavrelReaderPeriod& period, CTavrelEvents& window);
    // The category's events of the period into the window; for "<Combined>" named
    // "Name (Calendar)" after `combinedCalendar`.
    void CopyCategory(CTavrelEvents& category, const CTavrelReaderPeriod& period, CTavrelEvents& window,
                      const CQoString* combinedCalendar = nullptr);
    static void RenameForCombined(CTavrelEvents& copy, const CTavrelReaderPeriod& period, const CQoString& calendar);
    // The icon of the first rule that matches, or empty text when none does.
    bool MatchIcon(const CQoString& name, const CQoString& categories, std::int32_t attendees, CQoString& icon);
    // Up to `steps` sleeps of WaitStep, ending early when a flag is set.
    void Wait(int steps, bool endOnRefresh);
    bool ShouldStopReading() const;

    Sources m_sources;
    std::shared_ptr<CTavrelSleeper> m_sleeper;
    std::unique_ptr<pim::Folder> m_folder;
    std::unique_ptr<pim::Items> m_items;
    int m_lastStoreCount = 0;
};
