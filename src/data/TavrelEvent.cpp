#include "data/TavrelEvent.h"

#include "platform/device/WideText.h"

#include <cstring>

namespace {

bool sameText(const CQoString& a, const CQoString& b)
{
    return a.View() == b.View();
}

bool atMidnight(const device::OleDateTime& time)
{
    return time.GetHour() == 0 && time.GetMinute() == 0 && time.GetSecond() == 0;
}

} // namespace

CTavrelEvent::CTavrelEvent()
    : m_start(device::OleDateTime::GetCurrentTime()), m_end(m_start)
{
}

CTavrelEvent::CTavrelEvent(const device::OleDateTime& start, const device::OleDateTime& end, std::int32_t oid,
                           const CQoString& name, const CQoString& icon)
    : m_oid(oid), m_icon(icon), m_start(start), m_end(end), m_name(name)
{
    m_id.Format(u"%lu", std::uint32_t(oid));
}

CTavrelEvent::CTavrelEvent(const device::OleDateTime& start, const device::OleDateTime& end, const CQoString& id,
                           const CQoString& name, const CQoString& icon)
    : m_id(id), m_icon(icon), m_start(start), m_end(end), m_name(name)
{
}

CTavrelEvent::~CTavrelEvent() = default;

bool CTavrelEvent::IsAllDay() const
{
    return atMidnight(m_start) && atMidnight(m_end);
}

device::OleDateTime CTavrelEvent::GetLastMoment() const
{
    if (!IsAllDay())
        return m_end;
    return m_end + device::OleDateTimeSpan(0, 23, 59, 59);
}

bool CTavrelEvent::SameDateTime(const device::OleDateTime& a, const device::OleDateTime& b)
{
    if (a.GetStatus() != b.GetStatus())
        return false;
    const double x = a.GetValue();
    const double y = b.GetValue();
    return std::memcmp(&x, &y, sizeof x) == 0 || x == y;
}

bool CTavrelEvent::IsSameAs(const CTavrelEvent& other) const
{
    return SameDateTime(m_start, other.m_start) && SameDateTime(m_end, other.m_end) && sameText(m_icon, other.m_icon)
        && sameText(m_name, other.m_name) && m_oid == other.m_oid && sameText(m_class, other.m_class);
}
