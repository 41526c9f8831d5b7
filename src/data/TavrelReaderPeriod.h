#pragma once
// The period whose events the reader loads for the view: from 00:00:00 of its first day to
// 23:59:59 of its last, worked out from the view's date and mode.
//   Daily      the date's day
//   Weekly     Sunday to Saturday of the date's week
//   Monthly    the 1st to the last day of the date's month
//   Quarterly  the 1st of the quarter's first month to the last day of its third month
// Any other mode gives the empty period at day zero (both ends at 30 December 1899 00:00).

#include "common/QoString.h"
#include "platform/device/OleDateTime.h"

class CTavrelReaderPeriod {
public:
    static CTavrelReaderPeriod ForView(const device::OleDateTime& date, int mode);

    const device::OleDateTime& GetFrom() const { return m_from; }
    const device::OleDateTime& GetTo() const { return m_to; }
    // The appointment store's query for every appointment that overlaps the period:
    // [End] >= "from" AND [Start] <= "to", the dates in the locale's text.
    CQoString GetRestriction() const;
    // "%04d%02d" of the view date's year and month: the window collection's name.
    static CQoString KeyFor(const device::OleDateTime& date);

private:
    device::OleDateTime m_from;
    device::OleDateTime m_to;
};
