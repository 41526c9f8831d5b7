#include "control/TavrelControlInbox.h"

std::uint32_t CTavrelControlInbox::Put(CTavrelControlRecord record)
{
    std::lock_guard guard(m_mutex);
    if (m_records.size() >= Capacity)
        return 0;
    std::uint32_t number = m_next++;
    if (m_next == 0)
        m_next = 1;
    m_records[number] = std::move(record);
    return number;
}

std::optional<CTavrelControlRecord> CTavrelControlInbox::Take(std::uint32_t number)
{
    std::lock_guard guard(m_mutex);
    auto found = m_records.find(number);
    if (found == m_records.end())
        return std::nullopt;
    CTavrelControlRecord record = std::move(found->second);
    m_records.erase(found);
    return record;
}

void CTavrelControlInbox::Clear()
{
    std::lock_guard guard(m_mutex);
    m_records.clear();
}

std::size_t CTavrelControlInbox::GetCount() const
{
    std::lock_guard guard(m_mutex);
    return m_records.size();
}
