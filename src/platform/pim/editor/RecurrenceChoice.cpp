#include "platform/pim/editor/RecurrenceChoice.h"

#include "platform/pim/Appointment.h"
#include "platform/pim/Constants.h"
#include "platform/pim/RecurrencePattern.h"

namespace pim {

namespace {

int weekdayBit(const device::OleDateTime& start) { return 1 << (start.GetDayOfWeek() - 1); }

int typeOf(RecurrenceChoice::Kind kind)
{
    switch (kind) {
    case RecurrenceChoice::Kind::Daily:
        return olRecursDaily;
    case RecurrenceChoice::Kind::Weekly:
        return olRecursWeekly;
    case RecurrenceChoice::Kind::Monthly:
        return olRecursMonthly;
    case RecurrenceChoice::Kind::Yearly:
        return olRecursYearly;
    default:
        return -1;
    }
}

} // namespace

std::vector<RecurrenceChoice::Kind> RecurrenceChoice::choices(bool keepCurrent)
{
    std::vector<Kind> kinds = {Kind::Once, Kind::Daily, Kind::Weekly, Kind::Monthly, Kind::Yearly};
    if (keepCurrent)
        kinds.push_back(Kind::Current);
    return kinds;
}

device::WideString RecurrenceChoice::text(Kind kind, const device::OleDateTime& start)
{
    const bool valid = start.GetStatus() == device::DateTimeStatus::Valid;
    switch (kind) {
    case Kind::Once:
        return u"Once";
    case Kind::Daily:
        return u"Every day";
    case Kind::Weekly:
        return valid ? u"Every " + start.Format(u"%A") : u"Every week";
    case Kind::Monthly:
        return valid ? u"Day " + start.Format(u"%#d") + u" of every month" : u"Every month";
    case Kind::Yearly:
        return valid ? u"Every " + start.Format(u"%B %#d") : u"Every year";
    case Kind::Current:
        return u"Keep the current pattern";
    }
    return {};
}

RecurrenceChoice::Kind RecurrenceChoice::classify(const RecurrencePattern* pattern, const device::OleDateTime& start)
{
    if (!pattern)
        return Kind::Once;
    if (pattern->interval() != 1 || start.GetStatus() != device::DateTimeStatus::Valid)
        return Kind::Current;
    switch (pattern->recurrenceType()) {
    case olRecursDaily:
        return Kind::Daily;
    case olRecursWeekly:
        return pattern->dayOfWeekMask() == weekdayBit(start) ? Kind::Weekly : Kind::Current;
    case olRecursMonthly:
        return pattern->dayOfMonth() == start.GetDay() ? Kind::Monthly : Kind::Current;
    case olRecursYearly:
        return pattern->dayOfMonth() == start.GetDay() && pattern->monthOfYear() == start.GetMonth() ? Kind::Yearly
                                                                                                      : Kind::Current;
    default:
        return Kind::Current;
    }
}

void RecurrenceChoice::apply(Kind kind, Appointment& appointment)
{
    if (kind == Kind::Current)
        return;
    if (kind == Kind::Once) {
        appointment.clearRecurrencePattern();
        return;
    }
    const device::OleDateTime start = appointment.start();
    const int type = typeOf(kind);
    const bool sameKind = appointment.recurrencePattern() && appointment.recurrencePattern()->recurrenceType() == type;
    RecurrencePattern& pattern = appointment.getRecurrencePattern();
    if (!sameKind) {
        pattern = RecurrencePattern(pattern.startDay());
        pattern.setNoEndDate(true);
    }
    pattern.setRecurrenceType(type);
    pattern.setInterval(1);
    pattern.setDayOfWeekMask(kind == Kind::Weekly ? weekdayBit(start) : 0);
    pattern.setDayOfMonth(kind == Kind::Monthly || kind == Kind::Yearly ? start.GetDay() : 0);
    pattern.setMonthOfYear(kind == Kind::Yearly ? start.GetMonth() : 0);
    pattern.setInstance(0);
}

} // namespace pim
