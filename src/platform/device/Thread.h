#pragma once
// A worker thread as the handheld runs one: started with a priority, asked to end through a flag
// of its owner, and waited for with a bounded wait. The platform never kills a thread: one that
// has not ended when its owner stops waiting is left to end with the process.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace device {

// The calling thread's identifier, as the handheld's GetCurrentThreadId gives it.
std::uint32_t currentThreadId();
std::uint32_t currentProcessId();

class Thread {
public:
    enum class Priority { Normal, BelowNormal };

    Thread() = default;
    ~Thread(); // waits for the thread if it is still running and was never detached
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    bool start(std::function<void()> body, Priority priority = Priority::Normal);
    bool isRunning() const;
    // True when the thread ended within the time; it is then joined.
    bool waitFor(std::chrono::milliseconds timeout);
    // Gives up on a thread that did not end: it runs on and ends with the process.
    void abandon();
    std::uint32_t id() const { return m_state ? m_state->id.load() : 0; }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable ended;
        bool finished = false;
        std::atomic<std::uint32_t> id{0};
    };
    std::shared_ptr<State> m_state;
    std::unique_ptr<std::thread> m_thread;
};

} // namespace device
