#include "platform/device/ScopedHook.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

using device::ScopedHook;

namespace {

// A process-wide hook as the platform has them: a static value behind a getter and a setter.
std::string g_mode = "automatic";
std::vector<std::string> g_installs;

std::string mode() { return g_mode; }
void setMode(std::string mode)
{
    g_installs.push_back(mode);
    g_mode = std::move(mode);
}

class ScopedHookTest : public ::testing::Test {
protected:
    ScopedHookTest()
    {
        g_mode = "automatic";
        g_installs.clear();
    }
};

} // namespace

TEST_F(ScopedHookTest, InstallsForTheScopeAndPutsBackWhatWasThereBefore)
{
    g_mode = "host"; // not the default: the hook must restore this, not reset to a default
    {
        ScopedHook<std::string> reporting(&mode, &setMode, "report");
        EXPECT_EQ(g_mode, "report");
        EXPECT_EQ(reporting.previous(), "host");
    }
    EXPECT_EQ(g_mode, "host");
    EXPECT_EQ(g_installs, (std::vector<std::string> {"report", "host"}));
}

TEST_F(ScopedHookTest, AnExceptionOrAnEarlyReturnPutsItBackToo)
{
    EXPECT_THROW(
        {
            ScopedHook<std::string> reporting(&mode, &setMode, "report");
            throw std::runtime_error("start-up failed");
        },
        std::runtime_error);
    EXPECT_EQ(g_mode, "automatic");

    const auto run = [](bool leaveEarly) {
        ScopedHook<std::string> reporting(&mode, &setMode, "report");
        if (leaveEarly)
            return 1;
        return 0;
    };
    EXPECT_EQ(run(true), 1);
    EXPECT_EQ(g_mode, "automatic");
}

TEST_F(ScopedHookTest, NestedHooksUnwindInTheReverseOrder)
{
    {
        ScopedHook<std::string> outer(&mode, &setMode, "report");
        {
            ScopedHook<std::string> inner(&mode, &setMode, "host");
            EXPECT_EQ(g_mode, "host");
        }
        EXPECT_EQ(g_mode, "report");
    }
    EXPECT_EQ(g_mode, "automatic");
    EXPECT_EQ(g_installs, (std::vector<std::string> {"report", "host", "report", "automatic"}));
}

TEST_F(ScopedHookTest, HooksWhoseInstallReturnsThePreviousValueAndFunctionHooksWork)
{
    // A handler hook: an empty function is "none installed".
    std::function<int()> handler;
    {
        ScopedHook<std::function<int()>> installed(
            [&] { return handler; }, [&](std::function<int()> next) { handler = std::move(next); }, [] { return 42; });
        ASSERT_TRUE(handler);
        EXPECT_EQ(handler(), 42);
    }
    EXPECT_FALSE(handler);

    // An install that hands back what it replaced, as service registries do.
    int service = 1;
    const auto exchange = [&](int next) { return std::exchange(service, next); };
    {
        ScopedHook<int> replaced([&] { return service; }, exchange, 2);
        EXPECT_EQ(service, 2);
    }
    EXPECT_EQ(service, 1);
}
