#pragma once
// CTavrelWakeableSleeper: how the program's reader thread lets time pass. It sleeps for real, like
// the system's sleeper, but the application can wake it: the reader checks its stop and refresh
// flags between steps of 100 ms, and a step that ends as soon as a flag is set means that the end
// of the program does not wait out the rest of a step, and a new date or calendar is read at once.
//
// A wake that comes while the reader is not sleeping ends its next sleep at once instead, so a
// flag set just after the reader looked at it is not missed for a whole step.

#include "data/TavrelSleeper.h"

#include <condition_variable>
#include <mutex>

class CTavrelWakeableSleeper final : public CTavrelSleeper {
public:
    void Sleep(std::chrono::milliseconds duration) override;
    // Any thread.
    void Wake();

private:
    std::mutex m_mutex;
    std::condition_variable m_woken;
    bool m_pending = false;
};
