// SIGTERM and SIGINT as requests: the handler runs on a thread of its own, the dispositions come
// back when the object goes, and a second signal of the same kind is the default action again.

#include "platform/device/TerminationSignals.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;

class Requests {
public:
    device::TerminationSignals::Handler Handler()
    {
        return [this](int signal) {
            std::lock_guard guard(m_mutex);
            m_signals.push_back(signal);
            m_threads.push_back(std::this_thread::get_id());
            m_arrived.notify_all();
        };
    }
    bool WaitFor(std::size_t count)
    {
        std::unique_lock guard(m_mutex);
        return m_arrived.wait_for(guard, 5s, [&] { return m_signals.size() >= count; });
    }
    std::vector<int> Signals()
    {
        std::lock_guard guard(m_mutex);
        return m_signals;
    }
    std::vector<std::thread::id> Threads()
    {
        std::lock_guard guard(m_mutex);
        return m_threads;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<int> m_signals;
    std::vector<std::thread::id> m_threads;
};

void (*currentHandler(int signal))(int)
{
    struct sigaction action {};
    sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

extern "C" void ignoreSignal(int) {}

TEST(TerminationSignals, EachSignalIsARequestHandledOnAThreadOfItsOwn)
{
    Requests requests;
    struct sigaction before {};
    before.sa_handler = ignoreSignal;
    ASSERT_EQ(sigaction(SIGTERM, &before, nullptr), 0);
    {
        device::TerminationSignals signals;
        ASSERT_TRUE(signals.start(requests.Handler()));
        device::TerminationSignals another;
        EXPECT_FALSE(another.start(requests.Handler())) << "one at a time";
        ASSERT_EQ(std::raise(SIGTERM), 0);
        ASSERT_EQ(std::raise(SIGINT), 0);
        ASSERT_TRUE(requests.WaitFor(2));
        EXPECT_EQ(requests.Signals(), (std::vector<int>{SIGTERM, SIGINT}));
        for (std::thread::id thread : requests.Threads())
            EXPECT_NE(thread, std::this_thread::get_id());
        // After one of each, the next of each takes the default action: a shut-down that hangs
        // can still be stopped.
        EXPECT_EQ(currentHandler(SIGTERM), SIG_DFL);
        EXPECT_EQ(currentHandler(SIGINT), SIG_DFL);
    }
    EXPECT_EQ(currentHandler(SIGTERM), &ignoreSignal) << "what was there before comes back";
    std::signal(SIGTERM, SIG_DFL);

    // Started again after the first has gone.
    device::TerminationSignals again;
    ASSERT_TRUE(again.start(requests.Handler()));
    EXPECT_NE(currentHandler(SIGTERM), SIG_DFL);
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_TRUE(requests.WaitFor(3));
}

TEST(TerminationSignals, ASecondSignalEndsAProcessWhoseShutDownHangs)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        device::TerminationSignals signals;
        if (!signals.start([](int) {}))
            ::_exit(3);
        ::raise(SIGTERM); // the request; this "shut-down" never ends
        ::raise(SIGTERM);
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit code " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

} // namespace
