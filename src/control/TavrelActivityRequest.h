#pragma once
// CTavrelActivityRequest: the "New" menu of a registered calendar. Its items are the activity
// kinds that the calendar's control application registered (item 35000 + n is kind n, counted
// from 0); choosing one asks the application to create such an activity at the held date with
// "OnRequestAddActivity:" start;end;kind. The calendar itself adds nothing.
//
// Times: a held day (hour 0) asks for that day at 00:00 to 00:00; a held hour asks for that hour
// to one hour later, and the last hour of the day for 23:00 to 23:30.

#include "platform/device/OleDateTime.h"

class CTavrelControlTarget;
class CTavrelNotifier;

class CTavrelActivityRequest {
public:
    static constexpr int FirstCommand = 35000;

    CTavrelActivityRequest(CTavrelControlTarget& target, CTavrelNotifier& notifier);

    // True when the current calendar is a registered one with a kind for the command, and the
    // request was sent.
    bool RequestNew(const device::OleDateTime& heldDate, int commandId);

    // The start and end asked for at a held date.
    static void RequestTimes(const device::OleDateTime& heldDate, device::OleDateTime& start, device::OleDateTime& end);

private:
    CTavrelControlTarget& m_target;
    CTavrelNotifier& m_notifier;
};
