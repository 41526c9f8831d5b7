#pragma once
// CTavrelSettingsWriter: how the settings store writes to the registry without making the
// user-interface thread wait on another program. Every registry operation of the store waits at
// most ShortWait for a lock another program holds (registry::ScopedBusyTimeout). A write that the
// registry does not take in that time is kept here — the latest value for each key and name — and
// the store's getters answer with it, so the program goes on with what the user chose. While
// writes are kept, further writes are kept at once without trying (no wait per setting while the
// registry stays locked), and every RetryInterval one try writes what is kept, oldest first. At
// the end (Flush, from the store's destructor) what is still kept is written with the registry's
// normal wait. The log says when writes are kept, when they are written and when some were lost.
//
// Values live below HKEY_CURRENT_USER; key paths are full ("Software\Orvix\Tavrel"). Any thread
// may call (the reader thread reads the settings too); one lock guards what is kept, and is held
// across the registry operations so that two threads never write one value out of order.

#include "common/QoString.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

class CTavrelSettingsWriter {
public:
    static constexpr std::chrono::milliseconds ShortWait{100};
    static constexpr std::chrono::milliseconds DefaultRetryInterval{2000};

    struct Value {
        enum class Type { Number, Text } type = Type::Number;
        std::uint32_t number = 0;
        CQoString text;

        static Value Number(std::uint32_t value) { return {Type::Number, value, CQoString()}; }
        static Value Text(const CQoString& value) { return {Type::Text, 0, value}; }
    };

    CTavrelSettingsWriter() = default;
    virtual ~CTavrelSettingsWriter() = default;
    CTavrelSettingsWriter(const CTavrelSettingsWriter&) = delete;
    CTavrelSettingsWriter& operator=(const CTavrelSettingsWriter&) = delete;

    // Writes the value now, or keeps it when the registry will not take it within ShortWait (or
    // while earlier writes are still kept). True when written or kept; false only for a value
    // that can never be written (an empty key path).
    bool Write(const CQoString& keyPath, const CQoString& name, const Value& value);
    // Writes the value when the registry takes it within ShortWait, and never keeps it; nothing is
    // tried while writes are kept. For the defaults that reads write back: kept and written
    // later, a default could overwrite what another program wrote meanwhile.
    bool TryWrite(const CQoString& keyPath, const CQoString& name, const Value& value);
    // The value kept for that key and name, when one is waiting to be written.
    std::optional<Value> FindKept(const CQoString& keyPath, const CQoString& name) const;
    // One try at what is kept, when RetryInterval has passed since the last one. Cheap when
    // nothing is kept; the settings store calls it from its getters and setters.
    void RetryIfDue();
    // Writes what is kept with the registry's normal wait; true when nothing is left kept.
    bool Flush();

    std::size_t GetKeptCount() const;
    void SetRetryInterval(std::chrono::milliseconds interval) { m_retryInterval = interval; }

private:
    using Key = std::pair<std::u16string, std::u16string>; // key path, value name (as given)
    struct Kept {
        Key key;
        Value value;
    };

    static bool WriteToRegistry(const Key& key, const Value& value);
    // Writes the kept values in order until one fails; true when all were written.
    bool WriteKept();
    std::vector<Kept>::iterator FindLocked(const Key& key);

    mutable std::mutex m_mutex;
    std::vector<Kept> m_kept; // oldest first; one entry per key and name (names compare without case)
    std::chrono::steady_clock::time_point m_lastTry;
    std::chrono::milliseconds m_retryInterval = DefaultRetryInterval;
};
