#pragma once
// The device's user interface in one object: the window table, the message loop with its timers,
// the input path from the backend to the window under the pen, the focus and the foreground
// window, and the 240 × 320 screen with its navigation bar. A process has one desktop at a time;
// windows find it through Desktop::current().
//
// Threads: the thread that constructs the desktop is the user-interface thread. Any thread may
// post() messages and tasks and inject input; the handle is checked when the message is posted and
// again when it is handled, so a destroyed window swallows what is posted to it. send() on the
// user-interface thread calls the window's handler at once. send() from another thread queues a
// request that the user-interface thread handles at its next turn (in any loop, modal ones too)
// and waits for it; it returns 0 when the window is gone or the desktop ends, and sendTimeout()
// gives up after a bounded wait, so no thread is ever stuck on a loop that stopped.
//
// Loops: run() is the outer loop; runModalLoop() runs the same loop until a condition holds, for
// dialogs and menus. quit() ends every loop; the outer one returns the exit code.

#include "platform/gfx/Surface.h"
#include "platform/ui/Backend.h"
#include "platform/ui/IdleAgent.h"
#include "platform/ui/InputRouter.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/TimeSource.h"
#include "platform/ui/TimerSet.h"
#include "platform/ui/Window.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace ui {

class NavigationBar;

class Desktop {
public:
    static constexpr int screenWidth = 240;
    static constexpr int screenHeight = 320;

    explicit Desktop(std::unique_ptr<Backend> backend, std::unique_ptr<TimeSource> time = TimeSource::steady());
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The running desktop; current() asserts that there is one.
    static Desktop* instance();
    static Desktop& current();

    Backend& backend() { return *m_backend; }
    bool isHeadless() const { return m_backend->isHeadless(); }
    TimeSource& time() { return *m_time; }
    std::uint64_t now() const { return m_time->now(); }
    // The milliseconds tick count of the handheld, on the desktop's time source.
    std::uint32_t tickCount() const { return std::uint32_t(m_time->now()); }
    bool isUserInterfaceThread() const { return std::this_thread::get_id() == m_uiThread; }

    // Windows.
    Window* find(WindowHandle handle) const;
    bool isWindow(WindowHandle handle) const; // any thread
    const std::vector<Window*>& topLevels() const { return m_topLevels; }
    // The active top-level window: the topmost shown frame or dialog.
    Window* foreground() const;
    void bringToTop(Window& topLevel);
    // When this window is destroyed the loop ends with exit code 0 (the program's main frame).
    void setMainWindow(Window* window) { m_mainWindow = window ? window->handle() : WindowHandle{}; }
    WindowHandle mainWindow() const { return m_mainWindow; }
    NavigationBar& navigationBar() { return *m_navigationBar; }

    // Messages.
    bool post(WindowHandle window, std::uint32_t message, WParam wParam = 0, LParam lParam = 0);
    LResult send(WindowHandle window, std::uint32_t message, WParam wParam = 0, LParam lParam = 0);
    std::optional<LResult> sendTimeout(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                                       std::chrono::milliseconds timeout);
    // Runs `task` on the user-interface thread in posting order with the messages.
    bool postTask(std::function<void()> task);
    // Posts WM_QUIT: every loop ends, run() returns `exitCode`.
    void quit(int exitCode = 0);
    bool isQuitting() const { return m_quitting; }

    // Timers (user-interface thread).
    bool setTimer(WindowHandle window, unsigned id, unsigned intervalMs);
    bool killTimer(WindowHandle window, unsigned id);

    // Input from the backend, scripts and tests (any thread).
    void injectInput(const InputEvent& event);
    InputRouter& input() { return m_input; }

    // Focus (user-interface thread).
    Window* focus() const { return find(m_focus); }
    void setFocus(Window* window);

    // Loops.
    int run();
    void runModalLoop(const std::function<bool()>& finished);
    // Handles everything that is pending now — messages, input, due timers, paint, idle work —
    // without waiting for anything in the future. For tests and automation.
    void runUntilIdle();
    // Runs the loop until `duration` has passed on the desktop's time (timers and gestures fire).
    void runFor(std::chrono::milliseconds duration);
    bool isIdle() const;
    int modalDepth() const { return m_modalDepth; }

    // Painting.
    void invalidate(const gfx::Rect& screenArea);
    // Paints what is invalid now and shows it.
    void updateNow();
    const gfx::Surface& screen() const { return m_screen; }

    // Wait cursor: shown while the count is above zero (see WaitCursor).
    void beginWaitCursor();
    void endWaitCursor();
    bool isWaitCursorShown() const { return m_waitCursorCount > 0; }

    // Work done when the loop has nothing else to do: callbacks run once each time the loop
    // becomes idle (frames update their tool buttons); agents run when they are due.
    int addIdleCallback(std::function<void()> callback);
    void removeIdleCallback(int token);
    void addIdleAgent(IdleAgent* agent);
    void removeIdleAgent(IdleAgent* agent);

    // Runs whenever a modal dialog or message box has opened and been painted, before its loop
    // takes input; a test answers the dialog from here.
    void setModalObserver(std::function<void(Window&)> observer) { m_modalObserver = std::move(observer); }
    const std::function<void(Window&)>& modalObserver() const { return m_modalObserver; }
    void notifyModalOpened(Window& window);

    // Window bookkeeping, called by Window.
    WindowHandle registerWindow(Window& window);
    void windowShown(Window& window);
    void windowDestroyed(Window& window);
    void iconChanged(Window& topLevel);

private:
    bool processOne();
    bool runIdleWork();
    void waitForWork();
    std::optional<std::uint64_t> nextDeadline() const;
    void dispatchPosted(const MessageQueue::Posted& item);
    void compose();
    void updateForeground();
    void showForegroundIcon();
    void drawWaitCursor(gfx::Painter& painter);

    std::unique_ptr<Backend> m_backend;
    std::unique_ptr<TimeSource> m_time;
    std::thread::id m_uiThread;
    MessageQueue m_queue;
    TimerSet m_timers;
    InputRouter m_input;

    mutable std::mutex m_tableMutex; // guards m_windows against readers on other threads
    std::unordered_map<std::uint32_t, Window*> m_windows;
    std::uint32_t m_nextHandle = 0x100;
    std::vector<Window*> m_topLevels; // stacking order, bottom first
    WindowHandle m_foreground;
    WindowHandle m_focus;
    std::unordered_map<std::uint32_t, WindowHandle> m_rememberedFocus; // top-level → focus
    WindowHandle m_mainWindow;
    std::unique_ptr<NavigationBar> m_navigationBar;

    gfx::Surface m_screen;
    gfx::Rect m_dirty;
    int m_waitCursorCount = 0;

    bool m_quitting = false;
    int m_exitCode = 0;
    int m_modalDepth = 0;
    std::vector<std::uint64_t> m_runUntil; // deadlines of runFor() calls in progress
    bool m_idleCallbacksDone = false;
    bool m_inIdleAgent = false;
    std::vector<std::pair<int, std::function<void()>>> m_idleCallbacks;
    int m_nextIdleToken = 1;
    std::vector<IdleAgent*> m_agents;
    std::function<void(Window&)> m_modalObserver;
};

} // namespace ui
