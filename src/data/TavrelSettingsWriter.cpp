#include "data/TavrelSettingsWriter.h"

#include "common/QoLog.h"
#include "common/QoRegistry.h"
#include "platform/registry/Registry.h"

#include <algorithm>

namespace {

bool sameKey(const std::pair<std::u16string, std::u16string>& a, const std::pair<std::u16string, std::u16string>& b)
{
    return device::equalsNoCase(a.first, b.first) && device::equalsNoCase(a.second, b.second);
}

// One line for the log: a format with a value's name (%s) and a count (%u).
void log(const char16_t* format, const char16_t* name, std::size_t count)
{
    CQoString line;
    line.Format(format, name, unsigned(count));
    CQoLog::LogWithDebugOutput(line.GetString());
}

} // namespace

bool CTavrelSettingsWriter::WriteToRegistry(const Key& key, const Value& value)
{
    CQoRegistry registryKey(HKEY_CURRENT_USER, key.first.c_str(), true);
    if (!registryKey.IsOpen())
        return false;
    if (value.type == Value::Type::Number)
        return registryKey.SetDWORD(key.second.c_str(), value.number);
    return registryKey.SetString(key.second.c_str(), value.text.GetString());
}

std::vector<CTavrelSettingsWriter::Kept>::iterator CTavrelSettingsWriter::FindLocked(const Key& key)
{
    return std::find_if(m_kept.begin(), m_kept.end(), [&](const Kept& kept) { return sameKey(kept.key, key); });
}

bool CTavrelSettingsWriter::Write(const CQoString& keyPath, const CQoString& name, const Value& value)
{
    if (keyPath.IsEmpty())
        return false;
    const Key key{keyPath.GetString(), name.GetString()};
    const registry::ScopedBusyTimeout wait(ShortWait);
    std::lock_guard guard(m_mutex);
    if (m_kept.empty()) {
        m_lastTry = std::chrono::steady_clock::now();
        if (WriteToRegistry(key, value))
            return true;
        m_kept.push_back({key, value});
        log(u"Settings: the registry did not take '%s'; it is kept (%u waiting) and written when the registry "
            u"is free\n",
            key.second.c_str(), m_kept.size());
        return true;
    }
    // The registry was not free a moment ago: keep this one too rather than wait again. Its
    // latest value replaces one kept earlier and takes its turn at the end.
    if (auto found = FindLocked(key); found != m_kept.end())
        m_kept.erase(found);
    m_kept.push_back({key, value});
    log(u"Settings: '%s' kept to be written later (%u waiting)\n", key.second.c_str(), m_kept.size());
    return true;
}

bool CTavrelSettingsWriter::TryWrite(const CQoString& keyPath, const CQoString& name, const Value& value)
{
    if (keyPath.IsEmpty())
        return false;
    const registry::ScopedBusyTimeout wait(ShortWait);
    std::lock_guard guard(m_mutex);
    return m_kept.empty() && WriteToRegistry({keyPath.GetString(), name.GetString()}, value);
}

std::optional<CTavrelSettingsWriter::Value> CTavrelSettingsWriter::FindKept(const CQoString& keyPath,
                                                                             const CQoString& name) const
{
    std::lock_guard guard(m_mutex);
    if (m_kept.empty())
        return std::nullopt;
    const Key key{keyPath.GetString(), name.GetString()};
    for (const Kept& kept : m_kept)
        if (sameKey(kept.key, key))
            return kept.value;
    return std::nullopt;
}

bool CTavrelSettingsWriter::WriteKept()
{
    std::size_t written = 0;
    while (!m_kept.empty() && WriteToRegistry(m_kept.front().key, m_kept.front().value)) {
        m_kept.erase(m_kept.begin());
        ++written;
    }
    if (written > 0) {
        CQoString line;
        line.Format(u"Settings: %u kept values written to the registry (%u still waiting)\n", unsigned(written),
                    unsigned(m_kept.size()));
        CQoLog::LogWithDebugOutput(line.GetString());
    }
    return m_kept.empty();
}

void CTavrelSettingsWriter::RetryIfDue()
{
    const registry::ScopedBusyTimeout wait(ShortWait);
    std::unique_lock guard(m_mutex, std::try_to_lock);
    // Another thread writing or retrying now: it does the work.
    if (!guard.owns_lock() || m_kept.empty())
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastTry < m_retryInterval)
        return;
    m_lastTry = now;
    WriteKept();
}

bool CTavrelSettingsWriter::Flush()
{
    std::lock_guard guard(m_mutex);
    if (m_kept.empty())
        return true;
    if (WriteKept())
        return true;
    CQoString names;
    for (const Kept& kept : m_kept) {
        if (!names.IsEmpty())
            names.Append(u", ");
        names.Append(kept.key.second.c_str());
    }
    log(u"Settings: the registry stayed locked; not written: %s (%u values)\n", names.GetString(), m_kept.size());
    return false;
}

std::size_t CTavrelSettingsWriter::GetKeptCount() const
{
    std::lock_guard guard(m_mutex);
    return m_kept.size();
}
