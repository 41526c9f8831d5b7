#include "data/TavrelEvents.h"

#include "common/QoLog.h"

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

CTavrelEvents::List::iterator CTavrelEvents::InsertionPoint(const device::OleDateTime& start)
{
    auto position = m_events.end();
    while (position != m_events.begin()) {
        auto previous = std::prev(position);
        if (!(previous->GetStart() >= start))
            break;
        position = previous;
    }
    return position;
}

bool CTavrelEvents::IsDuplicate(const CTavrelEvent& candidate, List::iterator insertAt) const
{
    // Both the store's rule and IsSameAs need the same start, and the events that start when the
    // candidate does are the run that begins where it would be inserted.
    for (auto it = insertAt; it != m_events.end() && CTavrelEvent::SameDateTime(it->GetStart(), candidate.GetStart());
         ++it) {
        if (candidate.GetOID() != 0) {
            if (it->GetOID() == candidate.GetOID())
                return true;
        } else if (it->IsSameAs(candidate)) {
            return true;
        }
    }
    if (isActivity(candidate)) {
        for (const CTavrelEvent& existing : m_events) {
            if (isActivity(existing) && existing.GetID().CompareNoCase(candidate.GetID()) == 0)
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
    const auto position = InsertionPoint(copy.GetStart());
    if (IsDuplicate(copy, position))
        return false;
    LogAdded(copy);
    m_events.insert(position, std::move(copy));
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
    m_cursor = m_events.begin();
    return FindNext(from, to);
}

CTavrelEvent* CTavrelEvents::FindNext(const device::OleDateTime& from, const device::OleDateTime& to)
{
    device::ScopedLock guard(m_lock);
    while (m_cursor != m_events.end()) {
        CTavrelEvent& event = *m_cursor;
        ++m_cursor;
        if (Overlaps(event, from, to))
            return &event;
    }
    return nullptr;
}

CTavrelEvent* CTavrelEvents::FindByID(const CQoString& id)
{
    device::ScopedLock guard(m_lock);
    for (CTavrelEvent& event : m_events) {
        if (event.GetID().CompareNoCase(id) == 0)
            return &event;
    }
    return nullptr;
}

bool CTavrelEvents::RemoveEvent(const CTavrelEvent& event)
{
    device::ScopedLock guard(m_lock);
    for (auto it = m_events.begin(); it != m_events.end(); ++it) {
        if (it->IsSameAs(event)) {
            if (m_cursor == it)
                ++m_cursor;
            m_events.erase(it);
            return true;
        }
    }
    return false;
}

void CTavrelEvents::RemoveAll()
{
    device::ScopedLock guard(m_lock);
    m_events.clear();
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
    for (const CTavrelEvent& event : incoming)
        AddEvent(event);
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
        if (!a->IsSameAs(*b))
            return false;
    }
    return true;
}
