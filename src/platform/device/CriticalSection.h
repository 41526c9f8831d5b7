#pragma once
// The handheld's critical section: a re-entrant lock, taken through a scoped guard.

#include <mutex>

namespace device {

class CriticalSection {
public:
    void lock() { m_mutex.lock(); }
    void unlock() { m_mutex.unlock(); }
    bool tryLock() { return m_mutex.try_lock(); }

private:
    std::recursive_mutex m_mutex;
};

class ScopedLock {
public:
    explicit ScopedLock(CriticalSection& section) : m_section(section) { m_section.lock(); }
    ~ScopedLock() { m_section.unlock(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CriticalSection& m_section;
};

} // namespace device
