#include "platform/ui/ScriptRunner.h"

#include "platform/gfx/PngWriter.h"
#include "platform/ui/HoldGesture.h"

namespace ui {

namespace {
constexpr std::uint64_t idlePollMs = 10;
}

ScriptRunner::ScriptRunner(Desktop& desktop, std::vector<ScriptAction> actions)
    : m_desktop(desktop), m_actions(std::move(actions))
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
    return m_notBefore;
}

void ScriptRunner::pen(InputEvent::Kind kind, gfx::Point point) { m_desktop.injectInput(InputEvent::pen(kind, point)); }

void ScriptRunner::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_desktop.removeIdleAgent(this);
    if (m_finishedCallback)
        m_finishedCallback();
}

void ScriptRunner::runIdle()
{
    if (m_finished)
        return;
    std::uint64_t now = m_desktop.now();
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
        if (m_commandSink)
            m_commandSink(action.value);
        else if (Window* target = m_desktop.foreground())
            target->post(WM_COMMAND, MAKEWPARAM(unsigned(action.value), 0), 0);
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
    }
    ++m_next;
    m_notBefore = now;
}

} // namespace ui
