#include "UiTestSupport.h"

#include "platform/ui/Window.h"

#include <atomic>
#include <thread>
#include <vector>

namespace ui {
namespace {

using testing::DesktopTest;

// A window that records the messages it is sent, by number and first parameter.
class RecordingWindow : public Window {
public:
    std::vector<std::pair<std::uint32_t, WParam>> received;
    std::function<void(std::uint32_t, WParam)> onMessage;

    LResult handleMessage(std::uint32_t message, WParam wParam, LParam lParam) override
    {
        if (message >= WM_USER || message == WM_TIMER || message == WM_COMMAND) {
            received.emplace_back(message, wParam);
            if (onMessage)
                onMessage(message, wParam);
        }
        return Window::handleMessage(message, wParam, lParam);
    }
};

using MessageLoop = DesktopTest;

TEST_F(MessageLoop, PostedMessagesArriveInOrderAndQuitEndsTheLoopWithItsCode)
{
    RecordingWindow window;
    ASSERT_TRUE(window.createTopLevel({0, 26, 240, 320}, u"Main"));
    window.post(WM_USER + 1, 10);
    window.post(WM_USER + 2, 20);
    window.post(WM_USER + 3, 30);
    desktop.quit(7);
    EXPECT_EQ(desktop.run(), 7);
    ASSERT_EQ(window.received.size(), 3u);
    EXPECT_EQ(window.received[0], (std::pair<std::uint32_t, WParam>{WM_USER + 1, 10}));
    EXPECT_EQ(window.received[2], (std::pair<std::uint32_t, WParam>{WM_USER + 3, 30}));
}

TEST_F(MessageLoop, PostsFromOtherThreadsAllArriveAndKeepEachThreadsOrder)
{
    RecordingWindow window;
    ASSERT_TRUE(window.createTopLevel({0, 26, 240, 320}, u"Main"));
    constexpr int perThread = 200;
    std::atomic<int> done{0};
    auto poster = [&](std::uint32_t message) {
        for (int i = 0; i < perThread; ++i)
            EXPECT_TRUE(desktop.post(window.handle(), message, WParam(i)));
        ++done;
    };
    std::thread reader(poster, WM_USER + 0);
    std::thread control(poster, 0x702);
    desktop.runModalLoop([&] { return window.received.size() == 2 * perThread; });
    reader.join();
    control.join();
    WParam lastReader = 0, lastControl = 0;
    int readerCount = 0, controlCount = 0;
    for (auto [message, value] : window.received) {
        WParam& last = message == WM_USER ? lastReader : lastControl;
        int& count = message == WM_USER ? readerCount : controlCount;
        if (count++ > 0) {
            EXPECT_EQ(value, last + 1);
        }
        last = value;
    }
    EXPECT_EQ(readerCount, perThread);
    EXPECT_EQ(controlCount, perThread);
}

TEST_F(MessageLoop, ADestroyedWindowsHandleSwallowsWhatIsPostedToIt)
{
    auto window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->createTopLevel({0, 26, 240, 320}, u"Doomed"));
    WindowHandle handle = window->handle();
    EXPECT_TRUE(desktop.post(handle, WM_USER + 5)); // queued while the window lives
    window->destroy();
    EXPECT_FALSE(desktop.post(handle, WM_USER + 6)); // refused once it is gone
    EXPECT_EQ(desktop.send(handle, WM_USER + 7), 0);
    EXPECT_TRUE(window->received.empty());
    desktop.runUntilIdle();
    EXPECT_TRUE(window->received.empty()); // the queued message found no window

    // A thread that still holds the handle is not harmed either.
    std::thread late([&] {
        EXPECT_FALSE(desktop.post(handle, WM_USER + 8));
        EXPECT_EQ(desktop.send(handle, WM_USER + 9), 0);
    });
    late.join();
}

TEST_F(MessageLoop, SendFromAnotherThreadRunsOnTheUserInterfaceThreadAndReturnsTheResult)
{
    Window window;
    std::thread::id handledOn;
    window.setMessageHook([&](std::uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
        if (message != WM_USER + 1)
            return std::nullopt;
        handledOn = std::this_thread::get_id();
        return LResult(wParam * 2);
    });
    ASSERT_TRUE(window.createTopLevel({0, 26, 240, 320}, u"Main"));
    LResult result = 0;
    std::atomic<bool> finished{false};
    std::thread sender([&] {
        result = desktop.send(window.handle(), WM_USER + 1, 21);
        finished = true;
        desktop.postTask([] {}); // wakes the loop so that it sees the flag
    });
    desktop.runModalLoop([&] { return finished.load(); });
    sender.join();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(handledOn, std::this_thread::get_id());

    // A bounded send gives up when nobody runs the loop.
    std::optional<LResult> timedOut = LResult(1);
    std::thread impatient([&] {
        timedOut = desktop.sendTimeout(window.handle(), WM_USER + 1, 1, 0, std::chrono::milliseconds(20));
    });
    impatient.join();
    EXPECT_FALSE(timedOut.has_value());
}

TEST_F(MessageLoop, TimersFireAtTheirIntervalsAndAOneShotIsKilledInItsHandler)
{
    RecordingWindow window;
    ASSERT_TRUE(window.createTopLevel({0, 26, 240, 320}, u"Main"));
    std::vector<std::pair<unsigned, std::uint64_t>> fired;
    std::uint64_t start = desktop.now();
    window.onMessage = [&](std::uint32_t message, WParam id) {
        if (message != WM_TIMER)
            return;
        fired.emplace_back(unsigned(id), desktop.now() - start);
        if (id == 1)
            window.killTimer(1); // the view's 250 ms one-shot render timer works this way
        if (fired.size() == 5)
            desktop.quit(0);
    };
    window.setTimer(1, 250);
    window.setTimer(2, 10000);
    desktop.run();
    ASSERT_EQ(fired.size(), 5u);
    EXPECT_EQ(fired[0], (std::pair<unsigned, std::uint64_t>{1, 250}));
    for (std::size_t i = 1; i < fired.size(); ++i)
        EXPECT_EQ(fired[i], (std::pair<unsigned, std::uint64_t>{2, 10000 * i}));
}

TEST_F(MessageLoop, NestedModalLoopsReturnInOrderAndTheOuterLoopCarriesOn)
{
    RecordingWindow window;
    ASSERT_TRUE(window.createTopLevel({0, 26, 240, 320}, u"Main"));
    std::vector<std::string> trace;
    bool innerDone = false, outerDone = false;
    window.onMessage = [&](std::uint32_t message, WParam value) {
        if (message != WM_USER + 1)
            return;
        if (value == 1) {
            trace.push_back("outer begins");
            window.post(WM_USER + 1, 2);
            desktop.runModalLoop([&] { return outerDone; });
            trace.push_back("outer ends");
            window.post(WM_USER + 1, 9);
        } else if (value == 2) {
            trace.push_back("inner begins");
            window.post(WM_USER + 1, 3);
            desktop.runModalLoop([&] { return innerDone; });
            trace.push_back("inner ends");
            outerDone = true;
        } else if (value == 3) {
            EXPECT_EQ(desktop.modalDepth(), 2);
            innerDone = true;
        } else if (value == 9) {
            trace.push_back("back in the main loop");
            desktop.quit(0);
        }
    };
    window.post(WM_USER + 1, 1);
    desktop.run();
    EXPECT_EQ(trace, (std::vector<std::string>{"outer begins", "inner begins", "inner ends", "outer ends",
                                               "back in the main loop"}));
}

TEST_F(MessageLoop, QuitEndsNestedLoopsAndTheOuterLoop)
{
    Window window;
    ASSERT_TRUE(window.createTopLevel({0, 26, 240, 320}, u"Main"));
    bool modalReturned = false;
    desktop.postTask([&] {
        desktop.quit(3);
        desktop.runModalLoop([] { return false; });
        modalReturned = true;
    });
    EXPECT_EQ(desktop.run(), 3);
    EXPECT_TRUE(modalReturned);
}

TEST_F(MessageLoop, DestroyingTheMainWindowEndsTheLoop)
{
    Window frame;
    ASSERT_TRUE(frame.createTopLevel({0, 26, 240, 320}, u"Main"));
    desktop.setMainWindow(&frame);
    frame.post(WM_CLOSE);
    EXPECT_EQ(desktop.run(), 0);
    EXPECT_FALSE(frame.exists());
}

} // namespace
} // namespace ui
