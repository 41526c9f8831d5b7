#pragma once
// CTavrelEvents: a named collection of events kept in start order — a category of a calendar, or
// the application's window collection (the events of the period the view shows).
//
// Every operation holds the collection's own lock for its whole length. The find cursor lives in
// the collection, so one collection is enumerated with FindFirst/FindNext by one thread at a time;
// a caller that must keep the collection still across several calls holds GetLock() around them.
//
// Duplicates: a store appointment (non-zero OID) is refused when one with the same OID starts at
// the same time; this is how the occurrences of a recurring appointment stay apart. Any other
// event is refused only when it is a true duplicate: the same as one already there (IsSameAs
// after taking the category's name), or an activity (an ID of its own) whose ID is there already.
// Two different events of a control application or a remote calendar that start at the same time
// both stay.

#include "data/TavrelEvent.h"
#include "platform/device/CriticalSection.h"

#include <list>

class CTavrelEvents {
public:
    CTavrelEvents();
    explicit CTavrelEvents(const CQoString& name);
    // Copies name, visibility and events (see Assign).
    CTavrelEvents(const CTavrelEvents& other);
    CTavrelEvents& operator=(const CTavrelEvents& other);
    virtual ~CTavrelEvents();

    // Inserts a copy, named after this category, before the first event that starts at the same
    // time or later. False, and nothing changes, for a duplicate or an event whose start or end is
    // not a valid date-time.
    bool AddEvent(const CTavrelEvent& event);

    // The events overlapping the closed period [from, to]: starting in it, ending in it, or
    // running through it; an all-day event lasts to the end of its last day (GetLastMoment).
    // FindFirst starts at the first event; FindNext goes on from the cursor. Null when no further
    // event overlaps. Because events are in start order, a caller that only needs events starting
    // by `to` may stop at the first one returned that starts later.
    CTavrelEvent* FindFirst(const device::OleDateTime& from, const device::OleDateTime& to);
    CTavrelEvent* FindNext(const device::OleDateTime& from, const device::OleDateTime& to);

    // The first event whose ID equals the text, ignoring case.
    CTavrelEvent* FindByID(const CQoString& id);

    // Removes the first event that IsSameAs the given one.
    bool RemoveEvent(const CTavrelEvent& event);
    void RemoveAll();

    // AddEvent of a copy of each of the other's events, in its order; the find cursor then stands
    // past the last event.
    void Merge(const CTavrelEvents& other);
    // Takes the other's name, visibility and a copy of each event, as they stand, without the
    // checks of AddEvent.
    void Assign(const CTavrelEvents& other);

    CQoString GetName() const;
    void SetName(const CQoString& name);
    bool IsVisible() const;
    void SetVisible(bool visible);
    int GetCount() const;

    // Same name (exact), same visibility and pairwise the same events in the same order.
    bool IsSameAs(const CTavrelEvents& other) const;

    // Calls `visit` for each event in order, under the collection's lock.
    template <typename Visit>
    void ForEach(Visit&& visit) const
    {
        device::ScopedLock guard(m_lock);
        for (const CTavrelEvent& event : m_events)
            visit(event);
    }
    template <typename Visit>
    void ForEach(Visit&& visit)
    {
        device::ScopedLock guard(m_lock);
        for (CTavrelEvent& event : m_events)
            visit(event);
    }

    device::CriticalSection& GetLock() const { return m_lock; }

private:
    using List = std::list<CTavrelEvent>;

    // The position before which an event starting at `start` goes; searched from the back, so
    // events that arrive in start order are placed at once.
    List::iterator InsertionPoint(const device::OleDateTime& start);
    bool IsDuplicate(const CTavrelEvent& candidate, List::iterator insertAt) const;
    static bool Overlaps(const CTavrelEvent& event, const device::OleDateTime& from, const device::OleDateTime& to);
    void LogAdded(const CTavrelEvent& event) const;

    mutable device::CriticalSection m_lock;
    CQoString m_name;
    bool m_visible = false;
    List m_events;
    List::iterator m_cursor;
};
