#include "data/TavrelOrderedLock.h"

#include "platform/device/DebugOutput.h"
#include "platform/device/Printf.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// The ordered locks the calling thread holds, with how often it took each; a thread holds few.
struct HeldLock {
    const CTavrelOrderedLock* lock;
    int depth;
};

std::vector<HeldLock>& heldLocks()
{
    thread_local std::vector<HeldLock> held;
    return held;
}

std::mutex& handlerMutex()
{
    static std::mutex mutex;
    return mutex;
}

CTavrelOrderedLock::ViolationHandler& handler()
{
    static CTavrelOrderedLock::ViolationHandler instance;
    return instance;
}

void reportViolation(const CTavrelOrderedLock& held, const CTavrelOrderedLock& wanted)
{
    CTavrelOrderedLock::ViolationHandler current;
    {
        std::lock_guard guard(handlerMutex());
        current = handler();
    }
    if (current) {
        current(held, wanted);
        return;
    }
    device::debugOutput(device::wformat(u"Lock order violated: %s taken while %s is held\n", wanted.GetName(),
                                        held.GetName()));
}

} // namespace

CTavrelOrderedLock::CTavrelOrderedLock(Rank rank, const char16_t* name) : m_rank(rank), m_name(name) {}

CTavrelOrderedLock::~CTavrelOrderedLock() = default;

void CTavrelOrderedLock::lock()
{
    auto& held = heldLocks();
    auto mine = std::find_if(held.begin(), held.end(), [this](const HeldLock& h) { return h.lock == this; });
    if (mine == held.end()) {
        // Checked before blocking: a wrong order is reported even when this run would not deadlock.
        for (const HeldLock& h : held) {
            if (h.lock->m_rank > m_rank) {
                reportViolation(*h.lock, *this);
                break;
            }
        }
    }
    m_section.lock();
    if (mine != held.end())
        ++mine->depth;
    else
        held.push_back({this, 1});
}

void CTavrelOrderedLock::unlock()
{
    auto& held = heldLocks();
    auto mine = std::find_if(held.begin(), held.end(), [this](const HeldLock& h) { return h.lock == this; });
    if (mine != held.end() && --mine->depth == 0)
        held.erase(mine);
    m_section.unlock();
}

bool CTavrelOrderedLock::IsHeldByCurrentThread() const
{
    const auto& held = heldLocks();
    return std::any_of(held.begin(), held.end(), [this](const HeldLock& h) { return h.lock == this; });
}

void CTavrelOrderedLock::SetViolationHandler(ViolationHandler newHandler)
{
    std::lock_guard guard(handlerMutex());
    handler() = std::move(newHandler);
}
