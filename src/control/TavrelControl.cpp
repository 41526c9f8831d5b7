#include "control/TavrelControl.h"

CTavrelControl::CTavrelControl(CTavrelControlTarget& target, CTavrelControlHost& host, CTavrelNotifier* notifier)
    : m_notifier(notifier ? *notifier : static_cast<CTavrelNotifier&>(m_socket)),
      m_dispatcher(target, host, m_notifier), m_opener(target, m_notifier), m_request(target, m_notifier)
{
}

CTavrelControl::~CTavrelControl()
{
    Close();
}

bool CTavrelControl::Open(ui::WindowHandle window, std::uint16_t controlPort, std::uint16_t notifyPort)
{
    return m_socket.Open(controlPort, window, notifyPort);
}

bool CTavrelControl::Close()
{
    return m_socket.Close();
}

void CTavrelControl::OnControlDatagram(ui::WParam wParam, ui::LParam)
{
    const std::uint32_t record = std::uint32_t(wParam);
    if (m_running) {
        // Delivered by the nested loop of a message box that a command opened: its turn comes
        // when that command has ended. The record stays in the inbox until then.
        m_waiting.push_back(record);
        return;
    }
    struct RunningScope {
        bool& running;
        explicit RunningScope(bool& flag) : running(flag) { running = true; }
        ~RunningScope() { running = false; }
    } scope(m_running);
    Run(record);
    while (!m_waiting.empty()) {
        const std::uint32_t next = m_waiting.front();
        m_waiting.pop_front();
        Run(next);
    }
}

void CTavrelControl::Run(std::uint32_t number)
{
    if (std::optional<CTavrelControlRecord> record = m_socket.TakeRecord(number))
        m_dispatcher.DispatchPayload(record->payload);
}
