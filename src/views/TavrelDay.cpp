#include "views/TavrelDay.h"

#include "platform/device/CivilDate.h"
#include "data/TavrelReaderView.h"

namespace {

constexpr int Daily = CTavrelReaderView::Daily;
constexpr int Weekly = CTavrelReaderView::Weekly;
constexpr int Monthly = CTavrelReaderView::Monthly;
constexpr int Quarterly = CTavrelReaderView::Quarterly;

} // namespace

CTavrelDay CTavrelDay::Of(const device::OleDateTime& date)
{
    return {date.GetYear(), date.GetMonth(), date.GetDay()};
}

int CTavrelDay::DaysInMonth(int year, int month)
{
    return device::CivilDate::daysInMonth(year, month);
}

CTavrelDay CTavrelDay::Next(int mode) const
{
    CTavrelDay next = *this;
    switch (mode) {
    case Daily:
    case Weekly: {
        next.day += mode == Daily ? 1 : 7;
        const int length = DaysInMonth(year, month);
        if (next.day > length) {
            next.day -= length;
            if (++next.month > 12) {
                next.month = 1;
                ++next.year;
            }
        }
        break;
    }
    case Monthly:
        if (++next.month > 12) {
            next.month = 1;
            ++next.year;
        }
        break;
    case Quarterly:
        next.month += 3;
        if (next.month > 12) {
            next.month -= 12;
            ++next.year;
        }
        break;
    default:
        break;
    }
    return next;
}

CTavrelDay CTavrelDay::Previous(int mode) const
{
    CTavrelDay previous = *this;
    switch (mode) {
    case Daily:
    case Weekly:
        previous.day -= mode == Daily ? 1 : 7;
        if (previous.day < 1) {
            if (--previous.month < 1) {
                previous.month = 12;
                --previous.year;
            }
            const int length = DaysInMonth(previous.year, previous.month);
            // A daily step lands on the last day; a weekly one goes back the rest of the week.
            previous.day = mode == Daily ? length : previous.day + length;
        }
        break;
    case Monthly:
        if (--previous.month < 1) {
            previous.month = 12;
            --previous.year;
        }
        break;
    case Quarterly:
        previous.month -= 3;
        if (previous.month < 1) {
            previous.month += 12;
            --previous.year;
        }
        break;
    default:
        break;
    }
    return previous;
}

CTavrelDay CTavrelDay::Clamped() const
{
    CTavrelDay clamped = *this;
    const int length = DaysInMonth(year, month);
    if (clamped.day > length)
        clamped.day = length;
    if (clamped.day < 1)
        clamped.day = 1;
    return clamped;
}

device::OleDateTime CTavrelDay::Start() const { return device::OleDateTime(year, month, day, 0, 0, 0); }

device::OleDateTime CTavrelDay::End() const { return device::OleDateTime(year, month, day, 23, 59, 59); }
