#pragma once
// Plays a script into the desktop's input, one action each time the loop is idle — in whatever
// loop runs then, so a script goes on inside the dialogs and menus it opens. `wait` lets the time
// pass while the loop runs; `idle` also waits for the program's own condition (the calendar's
// "the reader has drawn its pass"), checked every 10 ms. When the script has run out (or after
// `quit`), the finished callback runs once; `quit` also ends the desktop's loop with code 0.

#include "platform/ui/Desktop.h"
#include "platform/ui/IdleAgent.h"
#include "platform/ui/Script.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class ScriptRunner final : public IdleAgent {
public:
    ScriptRunner(Desktop& desktop, std::vector<ScriptAction> actions);
    ~ScriptRunner() override;

    // Starts feeding at the next idle moment.
    void start();
    bool isFinished() const { return m_finished; }
    // True while the idle condition holds; `idle` waits for it.
    void setIdleCondition(std::function<bool()> condition) { m_idleCondition = std::move(condition); }
    void setFinishedCallback(std::function<void()> callback) { m_finishedCallback = std::move(callback); }
    // Where `command ID` goes; by default WM_COMMAND to the foreground window.
    void setCommandSink(std::function<void(int)> sink) { m_commandSink = std::move(sink); }
    // Failures met while running (a snapshot that could not be written).
    const std::vector<std::string>& errors() const { return m_errors; }

    std::optional<std::uint64_t> dueTime() const override;
    void runIdle() override;

private:
    void finish();
    void pen(InputEvent::Kind kind, gfx::Point point);

    Desktop& m_desktop;
    std::vector<ScriptAction> m_actions;
    std::size_t m_next = 0;
    std::uint64_t m_notBefore = 0;
    bool m_started = false;
    bool m_finished = false;
    bool m_holdPending = false; // a hold's pen is down, its up is due at m_notBefore
    gfx::Point m_holdPoint;
    std::function<bool()> m_idleCondition;
    std::function<void()> m_finishedCallback;
    std::function<void(int)> m_commandSink;
    std::vector<std::string> m_errors;
};

} // namespace ui
