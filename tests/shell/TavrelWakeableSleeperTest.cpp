#include "shell/TavrelWakeableSleeper.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(TavrelWakeableSleeperTest, AWakeEndsTheSleepInProgressOrTheNextOne)
{
    CTavrelWakeableSleeper sleeper;
    // A sleep that nobody wakes lasts its time.
    auto started = Clock::now();
    sleeper.Sleep(30ms);
    EXPECT_GE(Clock::now() - started, 30ms);

    // A wake from another thread ends a long sleep.
    std::thread waker([&] {
        std::this_thread::sleep_for(50ms);
        sleeper.Wake();
    });
    started = Clock::now();
    sleeper.Sleep(20s);
    EXPECT_LT(Clock::now() - started, 10s);
    waker.join();

    // A wake while nobody sleeps ends the next sleep at once, and only that one.
    sleeper.Wake();
    started = Clock::now();
    sleeper.Sleep(20s);
    EXPECT_LT(Clock::now() - started, 10s);
    started = Clock::now();
    sleeper.Sleep(30ms);
    EXPECT_GE(Clock::now() - started, 30ms);
}

} // namespace
