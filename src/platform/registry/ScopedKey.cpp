#include "platform/registry/ScopedKey.h"

namespace registry {

ScopedKey& ScopedKey::operator=(ScopedKey&& other) noexcept
{
    if (this != &other)
        reset(other.release());
    return *this;
}

Status ScopedKey::open(HKEY parent, WideView subKey, ScopedKey& key)
{
    HKEY opened = nullptr;
    Status status = openKey(parent, subKey, &opened);
    key.reset(opened);
    return status;
}

Status ScopedKey::create(HKEY parent, WideView subKey, ScopedKey& key, std::uint32_t* disposition)
{
    HKEY created = nullptr;
    Status status = createKey(parent, subKey, &created, disposition);
    key.reset(created);
    return status;
}

HKEY ScopedKey::release()
{
    HKEY key = m_key;
    m_key = nullptr;
    return key;
}

void ScopedKey::reset(HKEY key)
{
    if (m_key)
        closeKey(m_key);
    m_key = key;
}

} // namespace registry
