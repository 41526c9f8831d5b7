#pragma once
// CTavrelControlInbox: the records that the receive thread has handed over and the
// user-interface thread has not yet taken. The posted window message carries only a record's
// number; the record stays here until it is taken, so a message that a destroyed window swallows
// loses nothing but its own record, which goes with the inbox. The inbox holds a bounded number of
// records: a user-interface thread that stops taking them cannot make it grow without end.

#include "control/TavrelControlRecord.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

class CTavrelControlInbox {
public:
    static constexpr std::size_t Capacity = 256;

    // Keeps the record and returns its number (never 0); 0 when the inbox is full.
    std::uint32_t Put(CTavrelControlRecord record);
    // The record of that number, once; nothing when there is none.
    std::optional<CTavrelControlRecord> Take(std::uint32_t number);
    void Clear();
    std::size_t GetCount() const;

private:
    mutable std::mutex m_mutex;
    std::map<std::uint32_t, CTavrelControlRecord> m_records;
    std::uint32_t m_next = 1;
};
