#include "platform/ui/HeadlessBackend.h"

namespace ui {

void HeadlessBackend::wait(std::optional<std::chrono::milliseconds> timeout)
{
    std::unique_lock lock(m_mutex);
    if (timeout)
        m_wakeUp.wait_for(lock, *timeout, [this] { return m_woken; });
    else
        m_wakeUp.wait(lock, [this] { return m_woken; });
    m_woken = false;
}

void HeadlessBackend::wake()
{
    {
        std::lock_guard lock(m_mutex);
        m_woken = true;
    }
    m_wakeUp.notify_one();
}

} // namespace ui
