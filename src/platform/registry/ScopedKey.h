#pragma once
// Owns one open key handle and closes it when it goes out of scope.

#include "platform/registry/Registry.h"

namespace registry {

class ScopedKey {
public:
    ScopedKey() = default;
    explicit ScopedKey(HKEY key) : m_key(key) {}
    ~ScopedKey() { reset(); }
    ScopedKey(ScopedKey&& other) noexcept : m_key(other.release()) {}
    ScopedKey& operator=(ScopedKey&& other) noexcept;
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    static Status open(HKEY parent, WideView subKey, ScopedKey& key);
    static Status create(HKEY parent, WideView subKey, ScopedKey& key, std::uint32_t* disposition = nullptr);

    HKEY get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }
    HKEY release();
    void reset(HKEY key = nullptr);

private:
    HKEY m_key = nullptr;
};

} // namespace registry
