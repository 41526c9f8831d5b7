#include "platform/scheduler/PendingStarts.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/DevicePath.h"
#include "platform/device/NamedMutex.h"
#include "platform/device/VariantTime.h"
#include "platform/registry/ScopedKey.h"

#include <algorithm>
#include <chrono>
#include <tuple>

namespace scheduler {

namespace {

using device::SystemTime;
using device::WideString;
using device::WideView;

// Another program changing the starts holds the mutex for a few registry operations at most.
constexpr std::chrono::seconds mutexTimeout {5};

bool fail(std::string* error, const std::string& why)
{
    if (error)
        *error = why;
    return false;
}

// The name a program's start is kept under; empty when the path names no program of the device.
WideString valueName(WideView program)
{
    WideString path = device::DevicePath::normalise(program);
    if (path == u"\\" || path.size() > registry::MaxNameLength)
        return {};
    return path;
}

bool isDateTime(const SystemTime& time)
{
    double date = 0;
    return device::systemTimeToVariantTime(time, date);
}

// Holds the device's mutex of the pending starts for one change.
class ChangeLock {
public:
    ChangeLock()
        : m_mutex(PendingStarts::MutexName, false)
    {
        m_owned = m_mutex.isOpen() && m_mutex.wait(mutexTimeout);
    }
    bool owned() const { return m_owned; }

private:
    device::NamedMutex m_mutex;
    bool m_owned = false;
};

struct StoredStart {
    WideString name;
    std::optional<SystemTime> time;
};

std::vector<StoredStart> readAll(registry::HKEY key)
{
    std::vector<StoredStart> starts;
    for (std::uint32_t index = 0;; ++index) {
        char16_t name[registry::MaxNameLength + 1];
        std::uint32_t nameLength = registry::MaxNameLength + 1;
        char16_t data[64] = {};
        std::uint32_t type = 0, size = sizeof data - sizeof(char16_t);
        const registry::Status status = registry::enumValue(key, index, name, &nameLength, &type, data, &size);
        if (status == registry::ERROR_NO_MORE_ITEMS)
            break;
        StoredStart start {WideString(name, nameLength), std::nullopt};
        if (status == registry::ERROR_SUCCESS && type == registry::REG_SZ) {
            WideView text(data, size / sizeof(char16_t));
            while (!text.empty() && text.back() == u'\0')
                text.remove_suffix(1);
            start.time = device::DeviceClock::parseClockSetting(device::toUtf8(text));
        }
        starts.push_back(std::move(start));
    }
    return starts;
}

std::vector<PendingStart> earliestFirst(const std::vector<StoredStart>& stored)
{
    std::vector<PendingStart> starts;
    for (const StoredStart& start : stored)
        if (start.time)
            starts.push_back({start.name, *start.time});
    std::stable_sort(starts.begin(), starts.end(),
        [](const PendingStart& a, const PendingStart& b) { return PendingStarts::isEarlier(a.time, b.time); });
    return starts;
}

} // namespace

bool PendingStarts::isEarlier(const SystemTime& a, const SystemTime& b)
{
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second)
        < std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

bool PendingStarts::set(WideView program, const SystemTime& localTime, std::string* error)
{
    const WideString name = valueName(program);
    if (name.empty())
        return fail(error, "not a program of the device: " + device::toUtf8(program));
    if (!isDateTime(localTime))
        return fail(error, "not a date-time of years 100-9999");
    const WideString text = device::fromUtf8(device::DeviceClock::formatClockSetting(localTime));
    ChangeLock lock;
    if (!lock.owned())
        return fail(error, "another program keeps the pending starts locked");
    registry::ScopedKey key;
    if (registry::ScopedKey::create(registry::HKEY_LOCAL_MACHINE, KeyPath, key) != registry::ERROR_SUCCESS
        || registry::setValue(
               key.get(), name, registry::REG_SZ, text.c_str(), std::uint32_t((text.size() + 1) * sizeof(char16_t)))
            != registry::ERROR_SUCCESS)
        return fail(error, "cannot write the pending starts to the registry");
    return true;
}

bool PendingStarts::cancel(WideView program, std::string* error)
{
    const WideString name = valueName(program);
    if (name.empty())
        return fail(error, "not a program of the device: " + device::toUtf8(program));
    ChangeLock lock;
    if (!lock.owned())
        return fail(error, "another program keeps the pending starts locked");
    registry::ScopedKey key;
    const registry::Status opened = registry::ScopedKey::open(registry::HKEY_LOCAL_MACHINE, KeyPath, key);
    if (opened == registry::ERROR_FILE_NOT_FOUND)
        return true;
    const registry::Status status = opened == registry::ERROR_SUCCESS ? registry::deleteValue(key.get(), name) : opened;
    if (status != registry::ERROR_SUCCESS && status != registry::ERROR_FILE_NOT_FOUND)
        return fail(error, "cannot change the pending starts in the registry");
    return true;
}

std::optional<SystemTime> PendingStarts::find(WideView program)
{
    const WideString name = valueName(program);
    if (name.empty())
        return std::nullopt;
    for (const PendingStart& start : list())
        if (device::equalsNoCase(start.program, name))
            return start.time;
    return std::nullopt;
}

std::vector<PendingStart> PendingStarts::list()
{
    registry::ScopedKey key;
    if (registry::ScopedKey::open(registry::HKEY_LOCAL_MACHINE, KeyPath, key) != registry::ERROR_SUCCESS)
        return {};
    return earliestFirst(readAll(key.get()));
}

std::vector<PendingStart> PendingStarts::takeDue(const SystemTime& now, std::string* error)
{
    ChangeLock lock;
    if (!lock.owned()) {
        fail(error, "another program keeps the pending starts locked");
        return {};
    }
    registry::ScopedKey key;
    if (registry::ScopedKey::open(registry::HKEY_LOCAL_MACHINE, KeyPath, key) != registry::ERROR_SUCCESS)
        return {};
    std::vector<PendingStart> due;
    for (PendingStart& start : earliestFirst(readAll(key.get()))) {
        if (!isEarlier(start.time, now))
            continue;
        const registry::Status status = registry::deleteValue(key.get(), start.program);
        if (status != registry::ERROR_SUCCESS && status != registry::ERROR_FILE_NOT_FOUND) {
            // Not taken: it stays pending for the next pass rather than being started twice.
            fail(error, "cannot change the pending starts in the registry");
            continue;
        }
        due.push_back(std::move(start));
    }
    return due;
}

} // namespace scheduler
