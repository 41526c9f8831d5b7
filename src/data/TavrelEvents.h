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
//
// Cost: a control application may keep thousands of activities in one category and change one
// at a time, so no single-event operation walks the collection. Events sit in a tree ordered by
// start instant (a new one goes before those that start at the same instant); an index by ID
// (letter case folded) finds an activity; and the longest duration of any event added tells
// FindFirst where the first event that can reach into a period stands. Adding, finding by ID and
// removing one event take logarithmic time; FindFirst/FindNext skip the events that end before
// the period and stop at the first that starts after it.

#include "data/TavrelEvent.h"
#include "platform/device/CriticalSection.h"

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

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

    // The first event (in start order) whose ID equals the text, ignoring case.
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
        for (const auto& entry : m_events)
            visit(entry.second);
    }
    template <typename Visit>
    void ForEach(Visit&& visit)
    {
        device::ScopedLock guard(m_lock);
        for (auto& entry : m_events)
            visit(entry.second);
    }

    device::CriticalSection& GetLock() const { return m_lock; }

private:
    // Events by start instant (days on the true time line; +infinity for a start that is not a
    // valid date-time). An event whose start is changed where it stands keeps its place.
    using List = std::multimap<double, CTavrelEvent>;
    using Position = List::iterator;

    static double OrderOf(const device::OleDateTime& start);
    // The position before which an event starting at `start` goes.
    Position InsertionPoint(const device::OleDateTime& start);
    bool IsDuplicate(const CTavrelEvent& candidate, Position insertAt) const;
    static bool Overlaps(const CTavrelEvent& event, const device::OleDateTime& from, const device::OleDateTime& to);
    void LogAdded(const CTavrelEvent& event) const;

    Position Insert(Position before, CTavrelEvent&& event);
    void Erase(Position position);
    void Index(Position position);
    // Rebuilds the ID index and the longest duration after the events were replaced wholesale.
    void Reindex();
    // Whether `a` comes before `b` in start order.
    bool Precedes(Position a, Position b) const;
    static std::u16string IndexKey(const CQoString& id);

    mutable device::CriticalSection m_lock;
    CQoString m_name;
    bool m_visible = false;
    List m_events;
    Position m_cursor;
    // Positions of the events with a non-empty ID, by the ID in lower case (ASCII letters).
    std::unordered_map<std::u16string, std::vector<Position>> m_byID;
    // The longest End − Start of the events added since the collection was last empty, in days.
    double m_longest = 0;
    // The most that an event ending before its start ends before it, in days (0 when none does).
    double m_longestBackwards = 0;
};
