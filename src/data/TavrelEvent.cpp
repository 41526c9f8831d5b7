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
    : m_Start(device::OleDateTime::GetCurrentTime()), m_End(m_Start)
{
}

CTavrelEvent::CTavrelEvent(const device::OleDateTime& start, const device::OleDateTime& end, std::int32_t oid,
                           const CQoString& name, const CQoString& icon)
    : m_OID(oid), m_Icon(icon), m_Start(start), m_End(end), m_Name(name)
{
    m_ID.Format(u"%lu", std::uint32_t(oid));
}

CTavrelEvent::CTavrelEvent(const device::OleDateTime& start, const device::OleDateTime& end, const CQoString& id,
                           const CQoString& name, const CQoString& icon)
    : m_ID(id), m_Icon(icon), m_Start(start), m_End(end), m_Name(name)
{
}

CTavrelEvent::~CTavrelEvent() = default;

bool CTavrelEvent::IsAllDay() const
{
    return atMidnight(m_Start) && atMidnight(m_End);
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
    return SameDateTime(m_Start, other.m_Start) && SameDateTime(m_End, other.m_End) && sameText(m_Icon, other.m_Icon)
        && sameText(m_Name, other.m_Name) && m_OID == other.m_OID && sameText(m_Class, other.m_Class);
}
