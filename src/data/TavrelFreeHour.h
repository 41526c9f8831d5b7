#pragma once
// CTavrelFreeHour: the first hour of the working day that no appointment of the shown period
// touches — where a new appointment goes when the user asked for a day rather than an hour.
//
// It works on its own copy of the window collection (taken under the event lock by the caller,
// CTavrelCalendarData::GetWindowEventsSnapshot), so the search never walks the collection while
// the reader rebuilds it. Hour h is taken when an event overlaps h:00:01 to h:59:59 of the day:
// an event that ends exactly at h:00 leaves hour h free, and an all-day event of the day (both
// times at midnight) takes no hour.
//
// The hours tried are first, first + 1, … while below the workday's end ("Workday End Hour");
// when none is free, or `first` is not below the end, the answer is `first` itself: a full day
// still gets its appointment, at the hour the user would have expected.

#include "data/TavrelEvents.h"
#include "platform/device/OleDateTime.h"

class CTavrelFreeHour {
public:
    CTavrelFreeHour(CTavrelEvents snapshot, int workdayStart, int workdayEnd);

    // The first free hour of the day, trying from `first` (0-23).
    int Find(const device::OleDateTime& day, int first);
    // The same, from the workday's start.
    int Find(const device::OleDateTime& day) { return Find(day, m_workdayStart); }

    int GetWorkdayStart() const { return m_workdayStart; }

private:
    bool IsTaken(int year, int month, int day, int hour);

    CTavrelEvents m_snapshot;
    int m_workdayStart;
    int m_workdayEnd;
};
