#pragma once
// CTavrelDay: a day of the calendar as the view moves through it — year, month (1-12) and day —
// with the arithmetic of the view's Next and Previous steps.
//
// The steps work on the three numbers the way a person turns pages: a daily or weekly step
// carries into the next or previous month (and year); a monthly or quarterly step keeps the day,
// which may then lie beyond the end of the new month (31 January + one month = "31 February").
// Such a day is clamped where the view takes the date (CTavrelView::SetCurrentDate).

#include "platform/device/OleDateTime.h"

class CTavrelDay {
public:
    int year = 1899;
    int month = 12;
    int day = 30;

    CTavrelDay() = default;
    CTavrelDay(int y, int m, int d) : year(y), month(m), day(d) {}
    // The day of a date-time (its time of day is dropped).
    static CTavrelDay Of(const device::OleDateTime& date);

    // The number of days of a month: the day before the 1st of the next one; 0 for a month
    // outside 1-12.
    static int DaysInMonth(int year, int month);

    // One step of the view in a mode (0 daily, 1 weekly, 2 monthly, 3 quarterly); other modes do
    // not move.
    CTavrelDay Next(int mode) const;
    CTavrelDay Previous(int mode) const;

    // The same day with its day number limited to the month's last day.
    CTavrelDay Clamped() const;
    // 00:00:00 and 23:59:59 of the day; invalid for a day that does not exist.
    device::OleDateTime Start() const;
    device::OleDateTime End() const;
    // month × 100 + day, as the view's messages carry it.
    int MonthDay() const { return month * 100 + day; }

    bool operator==(const CTavrelDay&) const = default;
};
