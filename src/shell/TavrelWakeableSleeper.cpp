#include "shell/TavrelWakeableSleeper.h"

void CTavrelWakeableSleeper::Sleep(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    m_woken.wait_for(lock, duration, [this] { return m_pending; });
    m_pending = false;
}

void CTavrelWakeableSleeper::Wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_pending = true;
    }
    m_woken.notify_all();
}
