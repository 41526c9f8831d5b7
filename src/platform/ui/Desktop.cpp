#include "platform/ui/Desktop.h"

#include "platform/gfx/Painter.h"
#include "platform/gfx/PainterStateSaver.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Theme.h"

#include <algorithm>
#include <cassert>

namespace ui {
namespace {
Desktop* g_current = nullptr;
}

Desktop::Desktop(std::unique_ptr<Backend> backend, std::unique_ptr<TimeSource> time)
    : m_backend(std::move(backend)), m_time(std::move(time)), m_uiThread(std::this_thread::get_id()), m_input(*this),
      m_screen(screenWidth, screenHeight, theme::window)
{
    assert(!g_current && "one desktop at a time");
    g_current = this;
    Backend* backendPointer = m_backend.get();
    m_queue.setWake([backendPointer] { backendPointer->wake(); });
    m_backend->attach(*this);
    m_navigationBar = std::make_unique<NavigationBar>();
    m_navigationBar->create();
    m_dirty = m_screen.rect();
}

Desktop::~Desktop()
{
    m_queue.close();
    m_mainWindow = {};
    while (!m_topLevels.empty())
        m_topLevels.back()->destroy();
    m_navigationBar.reset();
    m_queue.setWake({});
    g_current = nullptr;
}

Desktop* Desktop::instance() { return g_current; }

Desktop& Desktop::current()
{
    assert(g_current && "no desktop is running");
    return *g_current;
}

// ---- windows ----

WindowHandle Desktop::registerWindow(Window& window)
{
    WindowHandle handle{m_nextHandle++};
    {
        std::lock_guard lock(m_tableMutex);
        m_windows[handle.value] = &window;
    }
    if (!window.parent()) {
        // On top of its own band of the stacking order.
        auto position = std::find_if(m_topLevels.begin(), m_topLevels.end(),
                                     [&](Window* other) { return other->layer() > window.layer(); });
        m_topLevels.insert(position, &window);
    }
    return handle;
}

Window* Desktop::find(WindowHandle handle) const
{
    if (!handle)
        return nullptr;
    std::lock_guard lock(m_tableMutex);
    auto it = m_windows.find(handle.value);
    return it == m_windows.end() ? nullptr : it->second;
}

bool Desktop::isWindow(WindowHandle handle) const { return find(handle) != nullptr; }

void Desktop::windowShown(Window& window)
{
    if (window.isShown())
        invalidate(window.screenRect());
    if (!window.isShown()) {
        // A hidden window gives up the focus to its top-level window.
        for (Window* focus = this->focus(); focus; focus = focus->parent())
            if (focus == &window) {
                setFocus(window.parent() ? window.topLevel() : nullptr);
                break;
            }
    }
    if (window.isTopLevel())
        updateForeground();
}

void Desktop::windowDestroyed(Window& window)
{
    WindowHandle handle = window.handle();
    if (window.isShown())
        invalidate(window.screenRect());
    {
        std::lock_guard lock(m_tableMutex);
        m_windows.erase(handle.value);
    }
    std::erase(m_topLevels, &window);
    m_timers.killAll(handle);
    m_input.windowDestroyed(handle);
    m_rememberedFocus.erase(handle.value);
    if (m_focus == handle)
        m_focus = {};
    if (m_foreground == handle)
        m_foreground = {};
    if (handle == m_mainWindow) {
        m_mainWindow = {};
        quit(0);
    }
    if (window.isTopLevel())
        updateForeground();
}

Window* Desktop::foreground() const
{
    for (auto it = m_topLevels.rbegin(); it != m_topLevels.rend(); ++it) {
        Window* window = *it;
        if ((window->layer() == Layer::Normal || window->layer() == Layer::TopMost) && window->isVisible())
            return window;
    }
    return nullptr;
}

void Desktop::bringToTop(Window& topLevel)
{
    if (!topLevel.isTopLevel() || !topLevel.exists())
        return;
    std::erase(m_topLevels, &topLevel);
    auto position = std::find_if(m_topLevels.begin(), m_topLevels.end(),
                                 [&](Window* other) { return other->layer() > topLevel.layer(); });
    m_topLevels.insert(position, &topLevel);
    if (topLevel.isShown())
        invalidate(topLevel.screenRect());
    updateForeground();
}

void Desktop::updateForeground()
{
    Window* now = foreground();
    WindowHandle nowHandle = now ? now->handle() : WindowHandle{};
    if (nowHandle == m_foreground)
        return;
    Window* old = find(m_foreground);
    m_foreground = nowHandle;
    invalidate({0, 0, screenWidth, theme::navigationBarHeight});
    showForegroundIcon();
    if (old) {
        if (Window* focused = focus(); focused && focused->topLevel() == old)
            m_rememberedFocus[old->handle().value] = focused->handle();
        old->send(WM_ACTIVATE, WA_INACTIVE);
    }
    if (now && find(nowHandle)) {
        now->send(WM_ACTIVATE, WA_ACTIVE);
        if (m_foreground != nowHandle)
            return; // the activation changed the foreground again
        Window* remembered = nullptr;
        if (auto it = m_rememberedFocus.find(nowHandle.value); it != m_rememberedFocus.end())
            remembered = find(it->second);
        if (remembered && remembered->topLevel() == now && remembered->isShown())
            setFocus(remembered);
        else
            setFocus(now);
    } else if (!now) {
        setFocus(nullptr);
    }
}

void Desktop::iconChanged(Window& topLevel)
{
    if (topLevel.handle() == m_foreground)
        showForegroundIcon();
}

void Desktop::showForegroundIcon()
{
    const Window* window = find(m_foreground);
    const gfx::Surface* icon = window ? window->icon(ICON_SMALL) : nullptr;
    if (window && !icon)
        icon = window->icon(ICON_BIG);
    m_backend->showIcon(icon);
}

void Desktop::setFocus(Window* window)
{
    WindowHandle handle = window ? window->handle() : WindowHandle{};
    if (handle == m_focus)
        return;
    Window* old = find(m_focus);
    m_focus = handle;
    if (old)
        old->send(WM_KILLFOCUS);
    if (window && find(handle) && m_focus == handle)
        window->send(WM_SETFOCUS);
}

// ---- messages ----

bool Desktop::post(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (!isWindow(window))
        return false;
    return m_queue.post({window, message, wParam, lParam});
}

LResult Desktop::send(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam)
{
    if (isUserInterfaceThread()) {
        Window* target = find(window);
        return target ? target->handleMessage(message, wParam, lParam) : 0;
    }
    if (!isWindow(window))
        return 0;
    return m_queue.enqueueSend({window, message, wParam, lParam})->wait(std::nullopt).value_or(0);
}

std::optional<LResult> Desktop::sendTimeout(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam,
                                            std::chrono::milliseconds timeout)
{
    if (isUserInterfaceThread())
        return send(window, message, wParam, lParam);
    if (!isWindow(window))
        return 0;
    return m_queue.enqueueSend({window, message, wParam, lParam})->wait(timeout);
}

bool Desktop::postTask(std::function<void()> task) { return m_queue.postTask(std::move(task)); }

void Desktop::quit(int exitCode) { m_queue.post({WindowHandle{}, WM_QUIT, WParam(exitCode), 0}); }

bool Desktop::setTimer(WindowHandle window, unsigned id, unsigned intervalMs)
{
    if (!find(window))
        return false;
    m_timers.set(window, id, intervalMs, now());
    return true;
}

bool Desktop::killTimer(WindowHandle window, unsigned id) { return m_timers.kill(window, id); }

void Desktop::injectInput(const InputEvent& event) { m_queue.postInput(event); }

void Desktop::dispatchPosted(const MessageQueue::Posted& item)
{
    if (item.task) {
        item.task();
        return;
    }
    const Message& message = item.message;
    if (message.message == WM_QUIT && !message.window) {
        m_quitting = true;
        m_exitCode = int(message.wParam);
        return;
    }
    if (Window* target = find(message.window))
        target->handleMessage(message.message, message.wParam, message.lParam);
}

// ---- loops ----

bool Desktop::processOne()
{
    if (auto request = m_queue.takeSend()) {
        const Message& message = request->message();
        Window* target = find(message.window);
        request->complete(target ? target->handleMessage(message.message, message.wParam, message.lParam) : 0);
        return true;
    }
    if (auto item = m_queue.takePosted()) {
        dispatchPosted(*item);
        return true;
    }
    if (auto event = m_queue.takeInput()) {
        m_input.handle(*event);
        return true;
    }
    if (m_input.fireHoldIfDue(now()))
        return true;
    if (auto due = m_timers.takeDue(now())) {
        if (Window* target = find(due->first))
            target->handleMessage(WM_TIMER, due->second, 0);
        return true;
    }
    if (!m_dirty.isEmpty()) {
        compose();
        return true;
    }
    return false;
}

bool Desktop::runIdleWork()
{
    if (!m_idleCallbacksDone) {
        m_idleCallbacksDone = true;
        auto callbacks = m_idleCallbacks;
        for (auto& [token, callback] : callbacks)
            callback();
        return true;
    }
    if (m_inIdleAgent)
        return false;
    auto agents = m_agents;
    for (IdleAgent* agent : agents) {
        if (std::find(m_agents.begin(), m_agents.end(), agent) == m_agents.end())
            continue;
        std::optional<std::uint64_t> due = agent->dueTime();
        if (due && *due <= now()) {
            m_inIdleAgent = true;
            agent->runIdle();
            m_inIdleAgent = false;
            m_idleCallbacksDone = false;
            return true;
        }
    }
    return false;
}

std::optional<std::uint64_t> Desktop::nextDeadline() const
{
    std::optional<std::uint64_t> deadline = m_timers.nextDue();
    auto consider = [&](std::optional<std::uint64_t> candidate) {
        if (candidate && (!deadline || *candidate < *deadline))
            deadline = candidate;
    };
    consider(m_input.nextDeadline());
    for (std::uint64_t until : m_runUntil)
        consider(until);
    if (!m_inIdleAgent)
        for (IdleAgent* agent : m_agents)
            consider(agent->dueTime());
    return deadline;
}

void Desktop::waitForWork()
{
    std::optional<std::uint64_t> deadline = nextDeadline();
    if (m_time->isVirtual()) {
        if (!deadline) {
            m_backend->wait(std::nullopt);
            return;
        }
        // Give other threads a moment to post first, then let the time jump.
        m_backend->wait(std::chrono::milliseconds(0));
        if (!m_queue.hasPending())
            m_time->advanceTo(*deadline);
        return;
    }
    if (!deadline) {
        m_backend->wait(std::nullopt);
        return;
    }
    std::uint64_t current = now();
    m_backend->wait(std::chrono::milliseconds(*deadline > current ? *deadline - current : 0));
}

int Desktop::run()
{
    m_quitting = false;
    while (!m_quitting) {
        if (processOne()) {
            m_idleCallbacksDone = false;
            continue;
        }
        if (runIdleWork())
            continue;
        waitForWork();
    }
    return m_exitCode;
}

void Desktop::runModalLoop(const std::function<bool()>& finished)
{
    ++m_modalDepth;
    while (!m_quitting && !finished()) {
        if (processOne()) {
            m_idleCallbacksDone = false;
            continue;
        }
        if (runIdleWork())
            continue;
        waitForWork();
    }
    --m_modalDepth;
}

void Desktop::runUntilIdle()
{
    // Bounded, so a window that invalidates itself on every paint cannot hang a test.
    for (int turn = 0; turn < 100000 && !m_quitting; ++turn) {
        if (processOne()) {
            m_idleCallbacksDone = false;
            continue;
        }
        if (!m_idleCallbacksDone) {
            m_idleCallbacksDone = true;
            auto callbacks = m_idleCallbacks;
            for (auto& [token, callback] : callbacks)
                callback();
            continue;
        }
        break;
    }
}

void Desktop::runFor(std::chrono::milliseconds duration)
{
    std::uint64_t until = now() + std::uint64_t(duration.count());
    m_runUntil.push_back(until);
    runModalLoop([&] { return now() >= until; });
    std::erase(m_runUntil, until);
}

bool Desktop::isIdle() const
{
    std::uint64_t current = now();
    if (m_queue.hasPending() || !m_dirty.isEmpty())
        return false;
    if (auto hold = m_input.nextDeadline(); hold && *hold <= current)
        return false;
    if (auto timer = m_timers.nextDue(); timer && *timer <= current)
        return false;
    return true;
}

// ---- idle work and observers ----

int Desktop::addIdleCallback(std::function<void()> callback)
{
    int token = m_nextIdleToken++;
    m_idleCallbacks.emplace_back(token, std::move(callback));
    m_idleCallbacksDone = false;
    return token;
}

void Desktop::removeIdleCallback(int token)
{
    std::erase_if(m_idleCallbacks, [token](const auto& entry) { return entry.first == token; });
}

void Desktop::addIdleAgent(IdleAgent* agent)
{
    if (agent && std::find(m_agents.begin(), m_agents.end(), agent) == m_agents.end())
        m_agents.push_back(agent);
    m_backend->wake();
}

void Desktop::removeIdleAgent(IdleAgent* agent) { std::erase(m_agents, agent); }

void Desktop::notifyModalOpened(Window& window)
{
    updateNow();
    if (m_modalObserver) {
        auto observer = m_modalObserver; // the observer may replace itself
        observer(window);
    }
}

// ---- painting ----

void Desktop::invalidate(const gfx::Rect& screenArea)
{
    m_dirty = m_dirty.united(screenArea.intersected(m_screen.rect()));
}

void Desktop::updateNow()
{
    if (!m_dirty.isEmpty())
        compose();
}

void Desktop::compose()
{
    gfx::Rect dirty = m_dirty.intersected(m_screen.rect());
    m_dirty = {};
    if (dirty.isEmpty())
        return;
    gfx::Painter painter(m_screen);
    painter.fillRect(dirty, theme::window);
    std::vector<Window*> windows = m_topLevels;
    for (Window* window : windows)
        if (std::find(m_topLevels.begin(), m_topLevels.end(), window) != m_topLevels.end())
            window->paintTree(painter, dirty);
    if (m_waitCursorCount > 0)
        drawWaitCursor(painter);
    m_backend->present(m_screen, dirty);
}

void Desktop::beginWaitCursor()
{
    if (m_waitCursorCount++ == 0) {
        invalidate(gfx::Rect::fromPositionAndSize(screenWidth / 2 - 16, screenHeight / 2 - 16, 32, 32));
        updateNow(); // the work that follows blocks the loop: show the cursor first
    }
}

void Desktop::endWaitCursor()
{
    if (m_waitCursorCount > 0 && --m_waitCursorCount == 0)
        invalidate(gfx::Rect::fromPositionAndSize(screenWidth / 2 - 16, screenHeight / 2 - 16, 32, 32));
}

void Desktop::drawWaitCursor(gfx::Painter& painter)
{
    // The handheld's busy disc: a ring of coloured segments in the middle of the screen.
    static constexpr gfx::Colour segments[8] = {
        gfx::rgb(255, 0, 0),   gfx::rgb(255, 160, 0), gfx::rgb(255, 230, 0), gfx::rgb(0, 200, 0),
        gfx::rgb(0, 200, 230), gfx::rgb(0, 80, 255),  gfx::rgb(150, 0, 220), gfx::rgb(230, 0, 150),
    };
    static constexpr int dx[8] = {0, 7, 10, 7, 0, -7, -10, -7};
    static constexpr int dy[8] = {-10, -7, 0, 7, 10, 7, 0, -7};
    const gfx::PainterStateSaver saved(painter);
    painter.resetClip();
    painter.setOrigin({0, 0});
    int cx = screenWidth / 2, cy = screenHeight / 2;
    painter.selectPen(gfx::Pen::solid(gfx::colours::black));
    painter.selectBrush(gfx::Brush::solid(gfx::colours::white));
    painter.ellipse({cx - 16, cy - 16, cx + 16, cy + 16});
    for (int i = 0; i < 8; ++i) {
        painter.selectPen(gfx::Pen::null());
        painter.selectBrush(gfx::Brush::solid(segments[i]));
        painter.ellipse({cx + dx[i] - 4, cy + dy[i] - 4, cx + dx[i] + 5, cy + dy[i] + 5});
    }
}

} // namespace ui
