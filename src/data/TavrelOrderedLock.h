#pragma once
// A critical section with a place in the program's lock order.
//
// The application's three locks nest in one order only: event lock, then calendar list lock, then
// rules lock. A thread that takes them the other way round can deadlock against the reader thread,
// which holds the first two for a whole rebuild and takes the third around each rule match. Each
// lock here carries its rank; a thread that asks for a lock while it holds one of a higher rank is
// reported to the violation handler before it blocks, so a wrong order shows up in any test that
// walks the path once, not only in the rare run that deadlocks. Taking a lock again that the
// thread already holds is fine: the locks are re-entrant, as the handheld's critical sections are.
//
// Satisfies BasicLockable, so `std::lock_guard guard(app.GetEventLock());` takes it.

#include "platform/device/CriticalSection.h"

#include <functional>

class CTavrelOrderedLock {
public:
    // Ranks in the order the locks nest; a lower rank is taken first.
    enum Rank { EventRank = 1, CalendarListRank = 2, RulesRank = 3 };

    // `held` is the lock the thread holds, `wanted` the one it asked for.
    using ViolationHandler = std::function<void(const CTavrelOrderedLock& held, const CTavrelOrderedLock& wanted)>;

    CTavrelOrderedLock(Rank rank, const char16_t* name);
    ~CTavrelOrderedLock();
    CTavrelOrderedLock(const CTavrelOrderedLock&) = delete;
    CTavrelOrderedLock& operator=(const CTavrelOrderedLock&) = delete;

    void lock();
    void unlock();

    Rank GetRank() const { return m_rank; }
    const char16_t* GetName() const { return m_name; }
    // Whether the calling thread holds this lock.
    bool IsHeldByCurrentThread() const;

    // Replaces the handler (nullptr restores the default, which writes one line to the debugger
    // output). Process-wide; tests install one that fails the test.
    static void SetViolationHandler(ViolationHandler handler);

private:
    device::CriticalSection m_section;
    const Rank m_rank;
    const char16_t* const m_name;
};
