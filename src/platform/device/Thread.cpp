#include "platform/device/Thread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace device {

std::uint32_t currentThreadId() { return std::uint32_t(::syscall(SYS_gettid)); }

std::uint32_t currentProcessId() { return std::uint32_t(::getpid()); }

Thread::~Thread()
{
    if (m_thread && m_thread->joinable())
        m_thread->join();
}

bool Thread::start(std::function<void()> body, Priority priority)
{
    if (m_thread)
        return false;
    auto state = std::make_shared<State>();
    m_state = state;
    try {
        m_thread = std::make_unique<std::thread>([state, body = std::move(body), priority] {
            state->id = currentThreadId();
            if (priority == Priority::BelowNormal)
                ::setpriority(PRIO_PROCESS, ::syscall(SYS_gettid), 5);
            body();
            std::lock_guard lock(state->mutex);
            state->finished = true;
            state->ended.notify_all();
        });
    } catch (const std::system_error&) {
        m_thread.reset();
        m_state.reset();
        return false;
    }
    return true;
}

bool Thread::isRunning() const
{
    if (!m_state)
        return false;
    std::lock_guard lock(m_state->mutex);
    return !m_state->finished;
}

bool Thread::waitFor(std::chrono::milliseconds timeout)
{
    if (!m_thread)
        return true;
    {
        std::unique_lock lock(m_state->mutex);
        if (!m_state->ended.wait_for(lock, timeout, [&] { return m_state->finished; }))
            return false;
    }
    if (m_thread->joinable())
        m_thread->join();
    return true;
}

void Thread::abandon()
{
    if (m_thread && m_thread->joinable())
        m_thread->detach();
}

} // namespace device
