#include "data/TavrelEvents.h"

#include "common/QoLog.h"
#include "platform/device/VariantTime.h"

#include <algorithm>
#include <limits>
#include <mutex>

namespace {

// Lets std::scoped_lock take two collections' locks at once without a lock order between them.
class LockableSection {
public:
    explicit LockableSection(device::CriticalSection& section) : m_section(section) {}
    void lock() { m_section.lock(); }
    void unlock() { m_section.unlock(); }
    bool try_lock() { return m_section.tryLock(); }

private:
    device::CriticalSection& m_section;
};

bool isActivity(const CTavrelEvent& event)
{
    return event.GetOID() == 0 && !event.GetID().IsEmpty();
}

} // namespace

CTavrelEvents::CTavrelEvents() : m_cursor(m_events.end()) {}

CTavrelEvents::CTavrelEvents(const CQoString& name) : m_name(name), m_cursor(m_events.end()) {}

CTavrelEvents::CTavrelEvents(const CTavrelEvents& other) : m_cursor(m_events.end())
{
    Assign(other);
}

CTavrelEvents& CTavrelEvents::operator=(const CTavrelEvents& other)
{
    Assign(other);
    return *this;
}

CTavrelEvents::~CTavrelEvents() = default;

double CTavrelEvents::OrderOf(const device::OleDateTime& start)
{
    if (start.GetStatus() != device::DateTimeStatus::Valid)
        return std::numeric_limits<double>::infinity();
    return device::variantTimeToLinear(start.GetValue());
}

std::u16string CTavrelEvents::IndexKey(const CQoString& id)
{
    std::u16string key(id.View());
    for (char16_t& c : key)
        c = device::foldLower(c);
    return key;
}

CTavrelEvents::Position CTavrelEvents::InsertionPoint(const device::OleDateTime& start)
{
    return m_events.lower_bound(OrderOf(start));
}

CTavrelEvents::Position CTavrelEvents::Insert(Position before, CTavrelEvent&& event)
{
    const double order = OrderOf(event.GetStart());
    const Position position = m_events.emplace_hint(before, order, std::move(event));
    Index(position);
    return position;
}

void CTavrelEvents::Index(Position position)
{
    const CTavrelEvent& event = position->second;
    if (!event.GetID().IsEmpty())
        m_byID[IndexKey(event.GetID())].push_back(position);
    if (event.GetStart().GetStatus() == device::DateTimeStatus::Valid
        && event.GetEnd().GetStatus() == device::DateTimeStatus::Valid) {
        // Measured to the event's last moment: an all-day event reaches to the end of its last day.
        const double duration = OrderOf(event.GetLastMoment()) - position->first;
        m_longest = std::max(m_longest, duration);
        m_longestBackwards = std::max(m_longestBackwards, -duration);
    }
}

void CTavrelEvents::Reindex()
{
    m_byID.clear();
    m_longest = 0;
    m_longestBackwards = 0;
    for (Position position = m_events.begin(); position != m_events.end(); ++position)
        Index(position);
}

void CTavrelEvents::Erase(Position position)
{
    if (!position->second.GetID().IsEmpty()) {
        const auto entry = m_byID.find(IndexKey(position->second.GetID()));
        if (entry != m_byID.end()) {
            std::vector<Position>& positions = entry->second;
            positions.erase(std::remove(positions.begin(), positions.end(), position), positions.end());
            if (positions.empty())
                m_byID.erase(entry);
        }
    }
    if (m_cursor == position)
        ++m_cursor;
    m_events.erase(position);
    if (m_events.empty()) {
        m_longest = 0;
        m_longestBackwards = 0;
    }
}

bool CTavrelEvents::Precedes(Position a, Position b) const
{
    if (a->first != b->first)
        return a->first < b->first;
    // The same instant: the one met first walking the run of that instant.
    for (auto it = a; it != m_events.end() && it->first == a->first; ++it)
        if (it == b)
            return true;
    return false;
}

bool CTavrelEvents::IsDuplicate(const CTavrelEvent& candidate, Position insertAt) const
{
    // Both the store's rule and IsSameAs need the same start, and the events that start when the
    // candidate does are the run that begins where it would be inserted.
    const double order = OrderOf(candidate.GetStart());
    for (auto it = List::const_iterator(insertAt); it != m_events.end() && it->first == order; ++it) {
        const CTavrelEvent& existing = it->second;
        if (!CTavrelEvent::SameDateTime(existing.GetStart(), candidate.GetStart()))
            continue;
        if (candidate.GetOID() != 0) {
            if (existing.GetOID() == candidate.GetOID())
                return true;
        } else if (existing.IsSameAs(candidate)) {
            return true;
        }
    }
    if (isActivity(candidate)) {
        const auto entry = m_byID.find(IndexKey(candidate.GetID()));
        if (entry != m_byID.end()) {
            for (const Position& position : entry->second)
                if (isActivity(position->second))
                    return true;
        }
    }
    return false;
}

bool CTavrelEvents::AddEvent(const CTavrelEvent& event)
{
    device::ScopedLock guard(m_lock);
    if (event.GetStart().GetStatus() != device::DateTimeStatus::Valid
        || event.GetEnd().GetStatus() != device::DateTimeStatus::Valid)
        return false;
    CTavrelEvent copy(event);
    copy.SetClass(m_name);
    const Position position = InsertionPoint(copy.GetStart());
    if (IsDuplicate(copy, position))
        return false;
    LogAdded(copy);
    Insert(position, std::move(copy));
    return true;
}

void CTavrelEvents::LogAdded(const CTavrelEvent& event) const
{
    if (!CQoLog::IsEnabled())
        return;
    const device::WideString start = event.GetStart().Format();
    const device::WideString end = event.GetEnd().Format();
    CQoLog::GetLog().Trace(u"CTavrelEvents::AddEvent(Start='%s', End='%s', ID='%s', Name='%s', Class='%s', Icon='%s')\n",
                           start.c_str(), end.c_str(), event.GetID().GetString(), event.GetName().GetString(),
                           event.GetClass().GetString(), event.GetIcon().GetString());
}

bool CTavrelEvents::Overlaps(const CTavrelEvent& event, const device::OleDateTime& from, const device::OleDateTime& to)
{
    const auto& start = event.GetStart();
    const device::OleDateTime end = event.GetLastMoment();
    return (from <= start && start <= to) || (from <= end && end <= to) || (start < from && end > to);
}

CTavrelEvent* CTavrelEvents::FindFirst(const device::OleDateTime& from, const device::OleDateTime& to)
{
    device::ScopedLock guard(m_lock);
    // No event that starts more than the longest duration before `from` can reach into the
    // period (a second's margin for the rounding of the subtraction).
    if (from.GetStatus() == device::DateTimeStatus::Valid)
        m_cursor = m_events.lower_bound(OrderOf(from) - m_longest - 1.0 / 86400);
    else
        m_cursor = m_events.begin();
    return FindNext(from, to);
}

CTavrelEvent* CTavrelEvents::FindNext(const device::OleDateTime& from, const device::OleDateTime& to)
{
    device::ScopedLock guard(m_lock);
    // Events stand in start order: one that starts after `to` (and after the most that an event
    // ending before its start reaches back) cannot overlap, nor can any after it. Without this
    // stop the last call of an enumeration would walk every later event of the collection.
    const double last = to.GetStatus() == device::DateTimeStatus::Valid
        ? OrderOf(to) + m_longestBackwards + 1.0 / 86400
        : std::numeric_limits<double>::infinity();
    while (m_cursor != m_events.end()) {
        if (m_cursor->first > last) {
            m_cursor = m_events.end();
            return nullptr;
        }
        CTavrelEvent& event = m_cursor->second;
        ++m_cursor;
        if (Overlaps(event, from, to))
            return &event;
    }
    return nullptr;
}

CTavrelEvent* CTavrelEvents::FindByID(const CQoString& id)
{
    device::ScopedLock guard(m_lock);
    if (id.IsEmpty()) {
        // Events without an ID are not indexed; this is no lookup anyone makes often.
        for (auto& entry : m_events)
            if (entry.second.GetID().CompareNoCase(id) == 0)
                return &entry.second;
        return nullptr;
    }
    const auto entry = m_byID.find(IndexKey(id));
    if (entry == m_byID.end() || entry->second.empty())
        return nullptr;
    Position first = entry->second.front();
    for (const Position& position : entry->second)
        if (Precedes(position, first))
            first = position;
    return &first->second;
}

bool CTavrelEvents::RemoveEvent(const CTavrelEvent& event)
{
    device::ScopedLock guard(m_lock);
    // IsSameAs needs the same start, so the event stands in the run of its start's instant —
    // unless its start was changed where it stood; then it is looked for everywhere.
    const double order = OrderOf(event.GetStart());
    for (Position it = m_events.lower_bound(order); it != m_events.end() && it->first == order; ++it) {
        if (it->second.IsSameAs(event)) {
            Erase(it);
            return true;
        }
    }
    for (Position it = m_events.begin(); it != m_events.end(); ++it) {
        if (it->second.IsSameAs(event)) {
            Erase(it);
            return true;
        }
    }
    return false;
}

void CTavrelEvents::RemoveAll()
{
    device::ScopedLock guard(m_lock);
    m_events.clear();
    m_byID.clear();
    m_longest = 0;
    m_longestBackwards = 0;
    m_cursor = m_events.end();
}

void CTavrelEvents::Merge(const CTavrelEvents& other)
{
    // The other's events are copied out first, so the two locks are never held together.
    List incoming;
    {
        device::ScopedLock guard(other.m_lock);
        incoming = other.m_events;
    }
    device::ScopedLock guard(m_lock);
    for (const auto& entry : incoming)
        AddEvent(entry.second);
    m_cursor = m_events.end();
}

void CTavrelEvents::Assign(const CTavrelEvents& other)
{
    if (&other == this)
        return;
    CQoString name;
    bool visible;
    List events;
    {
        device::ScopedLock guard(other.m_lock);
        name = other.m_name;
        visible = other.m_visible;
        events = other.m_events;
    }
    device::ScopedLock guard(m_lock);
    m_name = name;
    m_visible = visible;
    m_events = std::move(events);
    Reindex();
    m_cursor = m_events.end();
}

CQoString CTavrelEvents::GetName() const
{
    device::ScopedLock guard(m_lock);
    return m_name;
}

void CTavrelEvents::SetName(const CQoString& name)
{
    device::ScopedLock guard(m_lock);
    m_name = name;
}

bool CTavrelEvents::IsVisible() const
{
    device::ScopedLock guard(m_lock);
    return m_visible;
}

void CTavrelEvents::SetVisible(bool visible)
{
    device::ScopedLock guard(m_lock);
    m_visible = visible;
}

int CTavrelEvents::GetCount() const
{
    device::ScopedLock guard(m_lock);
    return int(m_events.size());
}

bool CTavrelEvents::IsSameAs(const CTavrelEvents& other) const
{
    if (&other == this)
        return true;
    LockableSection mine(m_lock);
    LockableSection theirs(other.m_lock);
    std::scoped_lock guard(mine, theirs);
    if (m_name.View() != other.m_name.View() || m_visible != other.m_visible || m_events.size() != other.m_events.size())
        return false;
    auto a = m_events.begin();
    for (auto b = other.m_events.begin(); b != other.m_events.end(); ++a, ++b) {
        if (!a->second.IsSameAs(b->second))
            return false;
    }
    return true;
}
