#include "common/QoRegistry.h"

#include "platform/device/DebugOutput.h"

namespace {

// A null text pointer names the default value or the key itself, as on the handheld.
device::WideView viewOf(const char16_t* text) { return text ? device::WideView(text) : device::WideView(); }

// Reads a value as text into `result`. The size is asked first; should the value grow between
// the two reads (another program writing it), the read starts over instead of failing, so that a
// race never makes the caller write its default over the new value.
registry::Status readText(HKEY key, const char16_t* name, std::uint32_t type, std::uint32_t size, CQoString& result)
{
    registry::Status status = registry::ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 4 && status == registry::ERROR_MORE_DATA; ++attempt) {
        // Room for the size in bytes plus one, counted in characters: more than enough, and
        // always a terminator after text stored without one.
        char16_t* buffer = result.GetBuffer(size + 1);
        status = registry::queryValue(key, viewOf(name), &type, buffer, &size);
        if (status == registry::ERROR_SUCCESS)
            buffer[(size + 1) / 2] = 0;
        result.ReleaseBuffer();
    }
    return status;
}

} // namespace

CQoRegistry::CQoRegistry(HKEY parent, const char16_t* subKey, bool create)
{
    if (create) {
        if (registry::createKey(parent, viewOf(subKey), &m_key, &m_disposition) != registry::ERROR_SUCCESS)
            m_disposition = 0;
    } else {
        registry::openKey(parent, viewOf(subKey), &m_key);
    }
}

CQoRegistry::CQoRegistry(const CQoRegistry& other) : m_name(other.m_name)
{
    if (!other.m_key)
        return;
    if (registry::createKey(other.m_key, m_name.View(), &m_key, nullptr) != registry::ERROR_SUCCESS) {
        device::debugOutput(u"CQoRegistry() Copy Constructor: Unable to create subkey: ");
        device::debugOutput(m_name.View());
        device::debugOutput(u"\n");
    }
}

CQoRegistry::~CQoRegistry() { Close(); }

bool CQoRegistry::Close()
{
    if (!m_key)
        return false;
    registry::closeKey(m_key);
    m_key = nullptr;
    return true;
}

std::uint32_t CQoRegistry::GetDWORD(const char16_t* name, std::uint32_t defaultValue)
{
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    if (registry::queryValue(m_key, viewOf(name), nullptr, &value, &size) == registry::ERROR_SUCCESS)
        return value;
    if (defaultValue != NoWriteBack)
        SetDWORD(name, defaultValue);
    return defaultValue;
}

bool CQoRegistry::SetDWORD(const char16_t* name, std::uint32_t value)
{
#ifdef QO_COMMON_LITE
    if (!name)
        return false;
#endif
    return registry::setValue(m_key, viewOf(name), registry::REG_DWORD, &value, sizeof value) == registry::ERROR_SUCCESS;
}

CQoString CQoRegistry::GetString(const char16_t* name, const char16_t* defaultValue)
{
#ifdef QO_COMMON_LITE
    if (!name)
        return CQoString();
#endif
    std::uint32_t type = registry::REG_NONE;
    std::uint32_t size = 0;
    if (registry::queryValue(m_key, viewOf(name), &type, nullptr, &size) == registry::ERROR_SUCCESS) {
#ifndef QO_COMMON_LITE
        // The calendar's copy leaves a value of another type alone; the small programs' copy
        // reads whatever is stored as text.
        if (type != registry::REG_SZ)
            return CQoString(defaultValue);
#endif
        CQoString result;
        if (readText(m_key, name, type, size, result) == registry::ERROR_SUCCESS)
            return result;
    }
    if (!defaultValue)
        return CQoString();
    SetString(name, defaultValue);
    return CQoString(defaultValue);
}

bool CQoRegistry::SetString(const char16_t* name, const char16_t* text)
{
#ifdef QO_COMMON_LITE
    if (!name)
        return false;
#endif
    if (!text)
        return false;
    auto bytes = std::uint32_t((device::wideLength(text) + 1) * sizeof(char16_t));
    return registry::setValue(m_key, viewOf(name), registry::REG_SZ, text, bytes) == registry::ERROR_SUCCESS;
}

bool CQoRegistry::GetBinary(const char16_t* name, void* buffer, std::uint32_t* size)
{
    // The handheld also probes that a given buffer is writable for `*size` bytes; memory cannot
    // be probed here, and a buffer without a size is refused by the registry itself.
    return registry::queryValue(m_key, viewOf(name), nullptr, buffer, size) == registry::ERROR_SUCCESS;
}

bool CQoRegistry::SetBinary(const char16_t* name, const void* bytes, std::uint32_t size)
{
    if (!bytes && size)
        return false;
    return registry::setValue(m_key, viewOf(name), registry::REG_BINARY, bytes, size) == registry::ERROR_SUCCESS;
}

bool CQoRegistry::ValueExists(const char16_t* name)
{
    if (!name)
        return false;
    return registry::queryValue(m_key, viewOf(name), nullptr, nullptr, nullptr) == registry::ERROR_SUCCESS;
}

bool CQoRegistry::DeleteValue(const char16_t* name)
{
    return registry::deleteValue(m_key, viewOf(name)) == registry::ERROR_SUCCESS;
}

bool CQoRegistry::SubKeyExists(const char16_t* path)
{
    HKEY key = nullptr;
    if (registry::openKey(m_key, viewOf(path), &key) != registry::ERROR_SUCCESS)
        return false;
    registry::closeKey(key);
    return true;
}

bool CQoRegistry::DeleteSubKey(const char16_t* path) { return DeleteSubKey(m_key, path); }

bool CQoRegistry::DeleteSubKey(HKEY parent, const char16_t* path)
{
    // An empty path would name the parent itself: its subkeys would all go and then the parent
    // could not be deleted from itself. Refuse it before anything is removed.
    if (!path)
        return false;
    bool namesAKey = false;
    for (const char16_t* c = path; *c; ++c)
        namesAKey = namesAKey || *c != u'\\';
    if (!namesAKey)
        return false;

    HKEY key = nullptr;
    if (registry::openKey(parent, viewOf(path), &key) != registry::ERROR_SUCCESS)
        return false;
    // Always take the first subkey: deleting one moves the others down.
    for (;;) {
        char16_t child[NameBufferLength];
        std::uint32_t length = NameBufferLength;
        if (registry::enumKey(key, 0, child, &length) != registry::ERROR_SUCCESS)
            break;
        if (!DeleteSubKey(key, child)) {
            registry::closeKey(key);
            return false;
        }
    }
    registry::closeKey(key);
    return registry::deleteKey(parent, viewOf(path)) == registry::ERROR_SUCCESS;
}

bool CQoRegistry::ReadSubKeyName(CQoString& name)
{
    char16_t buffer[NameBufferLength];
    std::uint32_t length = NameBufferLength;
    if (registry::enumKey(m_key, m_enumIndex, buffer, &length) != registry::ERROR_SUCCESS) {
        name = u"";
        return false;
    }
    name = buffer;
    return true;
}

bool CQoRegistry::ReadValueName(CQoString& name)
{
    char16_t buffer[NameBufferLength];
    std::uint32_t length = NameBufferLength;
    if (registry::enumValue(m_key, m_enumIndex, buffer, &length, nullptr, nullptr, nullptr) != registry::ERROR_SUCCESS) {
        name = u"";
        return false;
    }
    name = buffer;
    return true;
}

bool CQoRegistry::GetFirstSubKey(CQoString& name)
{
    m_enumIndex = 0;
    return ReadSubKeyName(name);
}

bool CQoRegistry::GetNextSubKey(CQoString& name)
{
    ++m_enumIndex;
    return ReadSubKeyName(name);
}

bool CQoRegistry::GetSubKeyAt(CQoString& name, unsigned index)
{
    m_enumIndex = index;
    return ReadSubKeyName(name);
}

bool CQoRegistry::GetFirstValueName(CQoString& name)
{
    m_enumIndex = 0;
    return ReadValueName(name);
}

bool CQoRegistry::GetNextValueName(CQoString& name)
{
    ++m_enumIndex;
    return ReadValueName(name);
}
