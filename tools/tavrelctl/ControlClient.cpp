#include "ControlClient.h"

#include "protocol/TavrelDatagram.h"

#include <vector>

ControlClient::ControlClient(std::uint16_t controlPort, std::uint16_t listenPort)
    : m_controlPort(controlPort), m_listenPort(listenPort)
{
}

bool ControlClient::open()
{
    if (m_socket.open(m_listenPort))
        return true;
    m_error = "cannot listen on port " + std::to_string(m_listenPort) + ": " + m_socket.errorText();
    return false;
}

bool ControlClient::sendMessage(const CQoString& text)
{
    std::optional<CTavrelDatagram::Bytes> datagram = CTavrelDatagram::Encode(text.View());
    if (!datagram) {
        m_error = "message of " + std::to_string(text.GetLength()) + " characters is longer than "
                  + std::to_string(CTavrelDatagram::MaxMessageLength);
        return false;
    }
    if (!m_socket.sendTo(m_controlPort, datagram->data(), datagram->size())) {
        m_error = "cannot send to port " + std::to_string(m_controlPort);
        return false;
    }
    return true;
}

bool ControlClient::sendStop()
{
    const CTavrelDatagram::Bytes datagram = CTavrelDatagram::EncodeStop();
    if (!m_socket.sendTo(m_controlPort, datagram.data(), datagram.size())) {
        m_error = "cannot send to port " + std::to_string(m_controlPort);
        return false;
    }
    return true;
}

void ControlClient::receiveUntil(std::chrono::milliseconds timeout, const std::function<void(const CQoString&)>& print,
                                 const std::function<void(std::size_t size)>& dropped)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    std::vector<std::uint8_t> buffer(CTavrelDatagram::ReceiveBufferSize);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() < 0)
            left = std::chrono::milliseconds(0);
        const net::UdpSocket::Received got = m_socket.receive(buffer.data(), buffer.size(), left);
        if (got.status == net::UdpSocket::Status::TimedOut || got.status == net::UdpSocket::Status::Closed
            || got.status == net::UdpSocket::Status::Failed)
            return;
        if (got.status == net::UdpSocket::Status::Truncated) {
            dropped(got.size);
        } else {
            const CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(buffer.data(), got.size);
            if (decoded.kind == CTavrelDatagram::Kind::Message)
                print(CTavrelDatagram::PayloadText(decoded.payload));
        }
        if (left.count() == 0)
            return;
    }
}
