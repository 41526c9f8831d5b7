#include "platform/pim/ical/CalendarExport.h"

#include "platform/device/WideText.h"
#include "platform/ical/CalendarWriter.h"
#include "platform/ical/HostZone.h"
#include "platform/pim/Application.h"
#include "platform/pim/RecurrenceSchedule.h"
#include "platform/pim/ical/RuleMapping.h"

#include <map>
#include <set>

namespace pim {

namespace {

std::vector<std::string> splitCategories(const std::string& categories)
{
    std::vector<std::string> list;
    std::size_t at = 0;
    while (at <= categories.size()) {
        std::size_t comma = categories.find(',', at);
        if (comma == std::string::npos)
            comma = categories.size();
        std::string one = categories.substr(at, comma - at);
        const std::size_t first = one.find_first_not_of(' ');
        const std::size_t last = one.find_last_not_of(' ');
        if (first != std::string::npos)
            list.push_back(one.substr(first, last - first + 1));
        at = comma + 1;
    }
    return list;
}

// The event of one appointment; false for a series without any occurrence. `changedDays` are the
// days of its occurrences that appointments of their own stand for: iCalendar replaces those
// occurrences with them, where an EXDATE would delete them.
bool eventOf(const Appointment& item, const std::set<std::int64_t>& changedDays, ical::Event& event)
{
    const AppointmentRecord& record = item.record();
    event.uid = record.uid.empty() ? "tavrel-" + std::to_string(record.oid) : record.uid;
    event.recurrenceId = record.recurrenceId;
    event.summary = device::toUtf8(record.subject);
    event.location = device::toUtf8(record.location);
    event.categories = splitCategories(device::toUtf8(record.categories));
    for (const device::WideString& name : record.recipients.names())
        event.attendees.push_back(device::toUtf8(name));
    event.allDay = record.allDay;
    event.start = record.start;
    // iCalendar ends an all-day event at midnight after its last day.
    event.end = record.allDay ? std::max(record.end, record.start) + kMillisecondsPerDay : record.end;
    if (record.recurrence) {
        const RecurrencePattern& pattern = *record.recurrence;
        // iCalendar's series starts on its first occurrence.
        const std::int64_t firstDay = RecurrenceSchedule(pattern).nthDay(1);
        if (firstDay < 0)
            return false;
        const Milliseconds shift = TimeLine::midnightOf(firstDay) - TimeLine::midnightOf(pattern.startDay());
        event.start += shift;
        event.end += shift;
        const Milliseconds intoDay = record.start - TimeLine::midnightOf(pattern.startDay());
        event.rule = RuleMapping::ruleFor(pattern, event.start);
        for (std::int64_t day : pattern.deletedOccurrences()) {
            if (day >= firstDay && !changedDays.count(day))
                event.exceptionDates.push_back(TimeLine::midnightOf(day) + (record.allDay ? 0 : intoDay));
        }
    }
    return true;
}

} // namespace

bool CalendarExport::run(const std::optional<Period>& period, std::string& text, int& count, Error* error)
{
    std::unique_ptr<Folder> folder = m_application.getDefaultFolder(olFolderCalendar, error);
    if (!folder)
        return false;
    std::unique_ptr<Items> items = folder->items();
    std::u16string restriction;
    if (period) {
        // Every occurrence that touches the period names its series.
        items->setIncludeRecurrences(true);
        restriction = u"[End] >= \"" + period->from.Format() + u"\" AND [Start] <= \"" + period->to.Format() + u"\"";
    }
    std::set<std::uint32_t> oids;
    Error result = Error::None;
    for (auto item = items->find(restriction, &result); item; item = items->findNext(&result))
        oids.insert(item->oid());
    if (result != Error::None)
        return fail(error, result);

    std::vector<std::unique_ptr<Appointment>> appointments;
    std::map<std::string, std::set<std::int64_t>> changedDays; // by uid
    for (std::uint32_t oid : oids) {
        std::unique_ptr<Appointment> item = m_application.getItemFromOid(oid, &result);
        if (!item) {
            if (result == Error::NotFound)
                continue; // deleted meanwhile
            return fail(error, result);
        }
        if (!item->recurrenceId().empty()) {
            if (std::optional<ical::LocalTime> original = ical::localTimeOfRecurrenceKey(item->recurrenceId()))
                changedDays[item->uid()].insert(TimeLine::dayOf(*original));
        }
        appointments.push_back(std::move(item));
    }
    ical::CalendarWriter writer(ical::hostZoneName());
    static const std::set<std::int64_t> none;
    for (const std::unique_ptr<Appointment>& item : appointments) {
        const auto changed = changedDays.find(item->uid());
        ical::Event event;
        if (eventOf(*item, changed != changedDays.end() ? changed->second : none, event))
            writer.add(event);
    }
    text = writer.text();
    count = writer.count();
    succeed(error);
    return true;
}

} // namespace pim
