#include "control/TavrelControl.h"

CTavrelControl::CTavrelControl(CTavrelApp& app, CTavrelControlHost& host)
    : m_dispatcher(app, host, m_socket), m_opener(app, m_socket), m_request(app, m_socket)
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
