#include "platform/ui/ScriptRunner.h"

#include "platform/gfx/PngWriter.h"
#include "platform/ui/HoldGesture.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WindowDump.h"

#include <fstream>

namespace ui {

namespace {
constexpr std::uint64_t idlePollMs = 10;

std::string lineName(const ScriptAction& action)
{
    return "script line " + std::to_string(action.line) + " (" + action.source + ")";
}
} // namespace

ScriptRunner::ScriptRunner(Desktop& desktop, std::vector<ScriptAction> actions)
    : m_desktop(desktop), m_actions(std::move(actions)), m_driver(desktop)
{
}

ScriptRunner::~ScriptRunner() { m_desktop.removeIdleAgent(this); }

void ScriptRunner::start()
{
    m_started = true;
    m_notBefore = m_desktop.now();
    m_desktop.addIdleAgent(this);
}

std::optional<std::uint64_t> ScriptRunner::dueTime() const
{
    if (!m_started || m_finished)
        return std::nullopt;
    if (boxAwaitingAnswer())
        return std::min(m_notBefore, m_desktop.now());
    return m_notBefore;
}

MessageBoxDialog* ScriptRunner::boxAwaitingAnswer() const
{
    if (!m_answer)
        return nullptr;
    auto* box = dynamic_cast<MessageBoxDialog*>(m_desktop.foreground());
    return box && box->handle() != m_boxOpenWhenArmed ? box : nullptr;
}

void ScriptRunner::pen(InputEvent::Kind kind, gfx::Point point) { m_desktop.injectInput(InputEvent::pen(kind, point)); }

void ScriptRunner::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_desktop.removeIdleAgent(this);
    if (m_answer)
        m_errors.push_back(lineName(*m_answer) + ": no message box opened to take the answer");
    if (m_finishedCallback)
        m_finishedCallback();
}

void ScriptRunner::fail(const ScriptAction& action, const std::string& why)
{
    m_errors.push_back(lineName(action) + ": " + why);
    m_failed = true;
    m_finished = true;
    m_desktop.removeIdleAgent(this);
    m_desktop.quit(1);
}

void ScriptRunner::dump(const ScriptAction& action)
{
    std::ofstream out(action.file, std::ios::binary | std::ios::trunc);
    out << WindowDump::describe(m_desktop);
    out.close();
    if (!out)
        m_errors.push_back(lineName(action) + ": cannot write " + action.file);
}

void ScriptRunner::runIdle()
{
    if (m_finished)
        return;
    std::uint64_t now = m_desktop.now();
    if (MessageBoxDialog* box = boxAwaitingAnswer()) {
        const ScriptAction& armed = *m_answer;
        m_answer = nullptr;
        ScriptControlDriver::Step step = m_driver.answer(*box, armed.value);
        if (step.status == ScriptControlDriver::Step::Status::Failed)
            fail(armed, step.failure);
        return;
    }
    if (now < m_notBefore)
        return; // woken for an answer only
    if (m_holdPending) {
        m_holdPending = false;
        pen(InputEvent::Kind::PenUp, m_holdPoint);
        m_notBefore = now;
        return;
    }
    if (m_next >= m_actions.size()) {
        finish();
        return;
    }
    const ScriptAction& action = m_actions[m_next];
    switch (action.kind) {
    case ScriptAction::Kind::Tap:
        pen(InputEvent::Kind::PenDown, action.point);
        pen(InputEvent::Kind::PenUp, action.point);
        break;
    case ScriptAction::Kind::Hold:
        pen(InputEvent::Kind::PenDown, action.point);
        m_holdPending = true;
        m_holdPoint = action.point;
        m_notBefore = now + HoldGesture::holdMs + 100;
        ++m_next;
        return;
    case ScriptAction::Kind::Down:
        pen(InputEvent::Kind::PenDown, action.point);
        break;
    case ScriptAction::Kind::Up:
        pen(InputEvent::Kind::PenUp, action.point);
        break;
    case ScriptAction::Kind::Key:
        m_desktop.injectInput(InputEvent::keyDown(action.value));
        break;
    case ScriptAction::Kind::Command:
        sendCommand(action);
        break;
    case ScriptAction::Kind::Type:
        for (device::WChar character : action.text)
            m_desktop.injectInput(InputEvent::typed(character));
        break;
    case ScriptAction::Kind::Wait:
        m_notBefore = now + std::uint64_t(action.value);
        ++m_next;
        return;
    case ScriptAction::Kind::Idle:
        if (m_idleCondition && !m_idleCondition()) {
            m_notBefore = now + idlePollMs;
            return; // stays on this action
        }
        break;
    case ScriptAction::Kind::Snap:
        if (!gfx::PngWriter::write(m_desktop.screen(), action.file))
            m_errors.push_back("script line " + std::to_string(action.line) + ": cannot write " + action.file);
        break;
    case ScriptAction::Kind::Quit:
        ++m_next;
        finish();
        m_desktop.quit(0);
        return;
    case ScriptAction::Kind::Press:
    case ScriptAction::Kind::Select:
    case ScriptAction::Kind::Check:
    case ScriptAction::Kind::Text:
    case ScriptAction::Kind::Choose: {
        if (!m_stepping)
            m_driver.begin();
        ScriptControlDriver::Step step = m_driver.step(action);
        m_stepping = step.status == ScriptControlDriver::Step::Status::Again;
        if (step.status == ScriptControlDriver::Step::Status::Failed) {
            fail(action, step.failure);
            return;
        }
        if (m_stepping) {
            m_notBefore = now;
            return; // stays on this action until its input has been handled
        }
        break;
    }
    case ScriptAction::Kind::Answer:
        if (m_answer) {
            fail(action,
                 "line " + std::to_string(m_answer->line) + " armed an answer that no message box has taken yet");
            return;
        }
        m_answer = &action;
        m_boxOpenWhenArmed = {};
        if (auto* open = dynamic_cast<MessageBoxDialog*>(m_desktop.foreground()))
            m_boxOpenWhenArmed = open->handle();
        break;
    case ScriptAction::Kind::Dump:
        dump(action);
        break;
    }
    ++m_next;
    m_notBefore = now;
}

// The command goes through the queue, after the input before it, as a posted WM_COMMAND would; the
// task hands it to the window itself so that the answer tells whether anything took it.
void ScriptRunner::sendCommand(const ScriptAction& action)
{
    Window* target = m_commandTarget ? m_commandTarget() : m_desktop.foreground();
    if (!target || !target->exists()) {
        fail(action, "no window takes command " + std::to_string(action.value));
        return;
    }
    const WindowHandle handle = target->handle();
    const ScriptAction* line = &action; // the actions never move while the runner lives
    m_desktop.postTask([this, handle, line] {
        Window* window = m_desktop.find(handle);
        if (window && window->handleMessage(WM_COMMAND, MAKEWPARAM(unsigned(line->value), 0), 0))
            return;
        if (!m_failed)
            fail(*line, "nothing handles command " + std::to_string(line->value)
                            + (window ? " in the foreground window" : " (its window has closed)"));
    });
}

} // namespace ui
