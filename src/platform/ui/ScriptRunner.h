#pragma once
// Plays a script into the desktop's input, one action each time the loop is idle — in whatever
// loop runs then, so a script goes on inside the dialogs and menus it opens. `wait` lets the time
// pass while the loop runs; `idle` also waits for the program's own condition (the calendar's
// "the reader has drawn its pass"), checked every 10 ms. When the script has run out (or after
// `quit`), the finished callback runs once; `quit` also ends the desktop's loop with code 0.
//
// Actions on controls (ScriptControlDriver) may take several turns, one input each. `answer` arms
// a reply that is given as soon as a message box opens that was not open when it was armed, in
// that box's own loop; a box opened without one stays open for the lines that follow. A line that
// finds no such control or item fails the script: the error names the line, the runner stops, and
// the desktop's loop ends with exit code 1 (the finished callback does not run).

#include "platform/ui/Desktop.h"
#include "platform/ui/IdleAgent.h"
#include "platform/ui/Script.h"
#include "platform/ui/ScriptControlDriver.h"

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
    // Whether a line failed and ended the script.
    bool hasFailed() const { return m_failed; }
    // True while the idle condition holds; `idle` waits for it.
    void setIdleCondition(std::function<bool()> condition) { m_idleCondition = std::move(condition); }
    void setFinishedCallback(std::function<void()> callback) { m_finishedCallback = std::move(callback); }
    // The window `command ID` goes to; by default the foreground window. A command that no window
    // takes, or that the window does not handle, fails its line.
    void setCommandTarget(std::function<Window*()> target) { m_commandTarget = std::move(target); }
    // Failures met while running: a snapshot or dump that could not be written, an answer that no
    // message box took, the line that failed; each names its line.
    const std::vector<std::string>& errors() const { return m_errors; }

    std::optional<std::uint64_t> dueTime() const override;
    void runIdle() override;

private:
    void finish();
    void fail(const ScriptAction& action, const std::string& why);
    void pen(InputEvent::Kind kind, gfx::Point point);
    // The message box that the armed answer is for, when one is in the foreground.
    MessageBoxDialog* boxAwaitingAnswer() const;
    void dump(const ScriptAction& action);
    void sendCommand(const ScriptAction& action);

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
    std::function<Window*()> m_commandTarget;
    std::vector<std::string> m_errors;
    bool m_failed = false;
    ScriptControlDriver m_driver;
    bool m_stepping = false; // the current action on controls has taken a step and wants more
    const ScriptAction* m_answer = nullptr; // the armed `answer` line
    WindowHandle m_boxOpenWhenArmed;        // not the box the answer is for
};

} // namespace ui
