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
    if (std::optional<CTavrelControlRecord> record = m_socket.TakeRecord(std::uint32_t(wParam)))
        m_dispatcher.DispatchPayload(record->payload);
}
