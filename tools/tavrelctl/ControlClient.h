#pragma once
// The control application's end of the protocol: one socket bound to 127.0.0.1 on the listen
// port, from which commands go to the calendar's control port and on which its notifications
// arrive.

#include "common/QoString.h"
#include "platform/net/UdpSocket.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class ControlClient {
public:
    ControlClient(std::uint16_t controlPort, std::uint16_t listenPort);

    // Binds the listen port; false with errorText() when it cannot be had.
    bool open();
    const std::string& errorText() const { return m_error; }

    // Sends one message; false (with errorText()) when it is too long for a datagram or the
    // host refuses it.
    bool sendMessage(const CQoString& text);
    // Sends the datagram that stops the calendar's reception of commands.
    bool sendStop();

    // Calls `print` with each message that arrives before `timeout` has passed, and `dropped`
    // with the size of each datagram too long for the receive buffer; other datagrams are skipped.
    void receiveUntil(std::chrono::milliseconds timeout, const std::function<void(const CQoString&)>& print,
                      const std::function<void(std::size_t size)>& dropped);

private:
    std::uint16_t m_controlPort;
    std::uint16_t m_listenPort;
    net::UdpSocket m_socket;
    std::string m_error;
};
