#pragma once
// CTavrelCalendarAppearance: the pictures and fade levels of the current calendar, per month
// (1 = January … 12 = December). "<Personal>", "<Combined>" and the calendars without an
// appearance of their own show the settings store's values and change them; a calendar with its
// own (a remote one) shows its own, its pictures falling back to the settings' where it has none,
// and takes a new fade level but no new pictures. The application implements it; the view reads
// it and a skin writes it.

#include "common/QoString.h"

class CTavrelCalendarAppearance {
public:
    virtual ~CTavrelCalendarAppearance() = default;

    virtual int GetTransparency(int month) = 0;
    virtual CQoString GetBackground(int month) = 0;
    virtual CQoString GetMonthTitle(int month) = 0;
    virtual CQoString GetDayBar(int month) = 0;
    // False when nothing was written: a month outside 1..12, a level outside 0..100, a picture of
    // a calendar with an appearance of its own, or no calendar of the current name.
    virtual bool SetTransparency(int month, int level) = 0;
    virtual bool SetBackground(int month, const CQoString& path) = 0;
    virtual bool SetMonthTitle(int month, const CQoString& path) = 0;
    virtual bool SetDayBar(int month, const CQoString& path) = 0;
};
