#pragma once
// The calendar data the application object keeps and shares with the reader thread: the attached
// remote calendars, the registered calendars, the name of the current calendar, the window
// collection (the events of the period the view shows), the three locks that guard them and the
// reader's two flags.
//
// Locks, taken in this order whenever they nest:
//   event lock          the window collection
//   calendar list lock  both calendar lists, the current calendar name, and the categories and
//                       events inside the calendars
//   rules lock          the icon rules (held by the reader only around one rule match)
// The reader holds the first two for a whole rebuild. The accessors that return a list or the
// window collection by reference leave the locking to the caller.
//
// The application and its reader thread own this together, so a reader that outlives its
// bounded wait at shut-down still finds the data it was working on.

#include "data/TavrelCalendar.h"
#include "data/TavrelEvents.h"
#include "data/TavrelMainWindowLink.h"
#include "data/TavrelOrderedLock.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

class CTavrelCalendarData {
public:
    using CalendarList = std::list<std::unique_ptr<CTavrelCalendar>>;

    CTavrelCalendarData();
    CTavrelCalendarData(const CTavrelCalendarData&) = delete;
    CTavrelCalendarData& operator=(const CTavrelCalendarData&) = delete;
    virtual ~CTavrelCalendarData();

    CTavrelOrderedLock& GetEventLock() { return m_eventLock; }
    CTavrelOrderedLock& GetCalendarListLock() { return m_calendarListLock; }
    CTavrelOrderedLock& GetRulesLock() { return m_rulesLock; }

    // Hold the calendar list lock while using these.
    CalendarList& GetRemoteCalendars() { return m_remoteCalendars; }
    CalendarList& GetRegisteredCalendars() { return m_registeredCalendars; }
    // Appends a deep copy and returns it.
    CTavrelCalendar& AddRemoteCalendar(const CTavrelCalendar& calendar);
    // Appends the calendar itself (no copy: the attached calendars read at start are large).
    CTavrelCalendar& AddRemoteCalendar(std::unique_ptr<CTavrelCalendar> calendar);
    CTavrelCalendar& AddRegisteredCalendar(const CTavrelCalendar& calendar);

    // The remote calendars first, then the registered ones; names compare ignoring case. Holds
    // the calendar list lock while it searches; the calendar stays valid while the caller holds
    // that lock (or, on the user-interface thread, until the lists change).
    CTavrelCalendar* FindCalendar(const CQoString& name);

    // "<Personal>", "<Combined>" or a calendar's name; read and written under the calendar list
    // lock. SetCurrentCalendarName stores the text as given and checks nothing.
    CQoString GetCurrentCalendarName();
    void SetCurrentCalendarName(const CQoString& name);
    // The activity kinds (factory list, in order) of the registered calendar that is the current
    // calendar; empty when the current calendar is no registered one or registered none. Holds
    // the calendar list lock.
    std::vector<CQoString> GetCurrentActivityKinds();

    // Hold the event lock while using it.
    CTavrelEvents& GetWindowEvents() { return m_windowEvents; }
    // A deep copy taken under the event lock, for the views and the appointment commands.
    CTavrelEvents GetWindowEventsSnapshot();

    CTavrelMainWindowLink& GetMainWindowLink() { return m_mainWindow; }

    // Written by the user-interface thread, polled by the reader.
    void RequestReaderStop() { m_stopRequested.store(true); }
    bool IsReaderStopRequested() const { return m_stopRequested.load(); }
    void ClearReaderStop() { m_stopRequested.store(false); }
    // Refresh requests are also counted: the reader clears the flag at the start of a pass and so
    // takes every request made until then, before it reads anything. Whoever made a request (the
    // rules dialog, a script's `idle` after it) can so tell when a pass that saw it has been drawn.
    void RequestRefresh()
    {
        m_refreshRequests.fetch_add(1);
        m_refreshRequested.store(true);
    }
    bool IsRefreshRequested() const { return m_refreshRequested.load(); }
    void ClearRefresh()
    {
        m_refreshRequested.store(false);
        m_refreshesTaken.store(m_refreshRequests.load());
    }
    std::uint64_t GetRefreshRequestCount() const { return m_refreshRequests.load(); }
    // How many requests the latest pass had taken when it started.
    std::uint64_t GetRefreshesTakenCount() const { return m_refreshesTaken.load(); }

    static bool IsPersonal(const CQoString& name) { return name.CompareNoCase(u"<Personal>") == 0; }
    static bool IsCombined(const CQoString& name) { return name.CompareNoCase(u"<Combined>") == 0; }

private:
    CTavrelOrderedLock m_eventLock{CTavrelOrderedLock::EventRank, u"event lock"};
    CTavrelOrderedLock m_calendarListLock{CTavrelOrderedLock::CalendarListRank, u"calendar list lock"};
    CTavrelOrderedLock m_rulesLock{CTavrelOrderedLock::RulesRank, u"rules lock"};

    CQoString m_currentCalendar;
    CalendarList m_remoteCalendars;
    CalendarList m_registeredCalendars;
    CTavrelEvents m_windowEvents;
    CTavrelMainWindowLink m_mainWindow;

    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_refreshRequested{false};
    std::atomic<std::uint64_t> m_refreshRequests{0};
    std::atomic<std::uint64_t> m_refreshesTaken{0};
};
