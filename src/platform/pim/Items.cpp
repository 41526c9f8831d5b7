#include "platform/pim/Items.h"

#include "platform/pim/RecurrenceSchedule.h"
#include "platform/pim/RestrictionParser.h"
#include "platform/pim/Store.h"

#include <algorithm>

namespace pim {

Items::Items(std::shared_ptr<Store> store) : m_store(std::move(store)) {}

const Restriction* Items::restrictionFor(device::WideView text, Error* error)
{
    if (m_restriction && text == m_restrictionText)
        return &*m_restriction;
    m_restriction = RestrictionParser::parse(text);
    if (!m_restriction) {
        fail(error, Error::BadRestriction);
        return nullptr;
    }
    m_restrictionText.assign(text);
    return &*m_restriction;
}

std::unique_ptr<Appointment> Items::find(device::WideView text, Error* error)
{
    m_records.clear();
    m_matches.clear();
    m_next = 0;
    const Restriction* restriction = restrictionFor(text, error);
    if (!restriction)
        return nullptr;
    m_matchesAreOccurrences = m_includeRecurrences;
    if (Error result = collect(*restriction); result != Error::None) {
        m_records.clear();
        m_matches.clear();
        fail(error, result);
        return nullptr;
    }
    return take(error);
}

std::unique_ptr<Appointment> Items::findNext(Error* error) { return take(error); }

std::unique_ptr<Appointment> Items::take(Error* error)
{
    succeed(error);
    if (m_next >= m_matches.size())
        return nullptr;
    const Match& match = m_matches[m_next++];
    AppointmentRecord record = m_records[match.record];
    const bool isOccurrence = m_matchesAreOccurrences && record.recurrence.has_value();
    record.start = match.start;
    record.end = match.end;
    return std::make_unique<Appointment>(m_store, std::move(record), isOccurrence);
}

Error Items::collect(const Restriction& restriction)
{
    const Restriction::Window window = restriction.window();
    if (window.isEmpty())
        return Error::None;
    if (Error error = m_store->overlapping(window.from, window.to, m_records); error != Error::None)
        return error;

    std::size_t budget = kMaxOccurrences;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const AppointmentRecord& record = m_records[i];
        if (m_includeRecurrences && record.recurrence) {
            if (Error error = expandSeries(i, restriction, window, budget); error != Error::None)
                return error;
        } else if (restriction.matches(record, record.start, record.end)) {
            m_matches.push_back({i, record.start, record.end});
        }
    }
    std::sort(m_matches.begin(), m_matches.end(), [this](const Match& a, const Match& b) {
        if (a.start != b.start)
            return a.start < b.start;
        if (a.end != b.end)
            return a.end < b.end;
        return m_records[a.record].oid < m_records[b.record].oid;
    });
    return Error::None;
}

Error Items::expandSeries(std::size_t index, const Restriction& restriction, const Restriction::Window& window,
                          std::size_t& budget)
{
    const AppointmentRecord& record = m_records[index];
    const RecurrencePattern& pattern = *record.recurrence;
    if (pattern.validate() != Error::None)
        return Error::None; // a damaged row yields no occurrences rather than wrong ones
    const Milliseconds duration = record.end - record.start;
    const Milliseconds intoDay = record.start - TimeLine::midnightOf(pattern.startDay());
    // An occurrence on day d runs from d + intoDay to d + intoDay + duration; it touches the
    // window when it ends at or after `from` and starts at or before `to`.
    const std::int64_t firstDay = TimeLine::dayOf(window.from - intoDay - duration);
    const std::int64_t lastDay = TimeLine::dayOf(window.to - intoDay);
    Error result = Error::None;
    RecurrenceSchedule(pattern).forEachDay(firstDay, lastDay, [&](std::int64_t day) {
        if (pattern.isDeletedOccurrence(day))
            return true;
        if (budget == 0) {
            result = Error::TooManyOccurrences;
            return false;
        }
        --budget;
        const Milliseconds start = TimeLine::midnightOf(day) + intoDay;
        const Milliseconds end = start + duration;
        if (restriction.matches(record, start, end))
            m_matches.push_back({index, start, end});
        return true;
    });
    return result;
}

} // namespace pim
