#pragma once
// The reader thread: runs a CTavrelReader at below-normal priority until its stop flag is set.
//
// Stop sets the flag and waits a bounded time. A reader that has not ended by then (stuck in a
// long store query, say) is left to end on its own: it is never killed, since it may hold a lock,
// and it owns what it works on, so it finds nothing freed when it wakes and sees the flag.

#include "data/TavrelReader.h"
#include "platform/device/Thread.h"

#include <chrono>
#include <memory>

class CTavrelReaderThread {
public:
    static constexpr std::chrono::milliseconds StopWait{500};

    CTavrelReaderThread() = default;
    CTavrelReaderThread(const CTavrelReaderThread&) = delete;
    CTavrelReaderThread& operator=(const CTavrelReaderThread&) = delete;
    // Stops a running reader as Stop does.
    virtual ~CTavrelReaderThread();

    // False when a reader runs already or the thread cannot be started.
    bool Start(std::shared_ptr<CTavrelReader> reader, std::shared_ptr<CTavrelCalendarData> data);
    // True when the reader ended within the wait (or none ran).
    bool Stop(std::chrono::milliseconds wait = StopWait);
    bool IsRunning() const;
    std::uint32_t GetThreadId() const;

private:
    std::unique_ptr<device::Thread> m_thread;
    std::shared_ptr<CTavrelCalendarData> m_data;
};
