#pragma once
// A UDP socket on the loopback interface: the device's programs talk to each other through it and
// nothing from the network reaches them. It binds 127.0.0.1 only and sends to 127.0.0.1 only.
//
// Threads: one thread may sit in receive() while others send and while another closes the socket.
// close() wakes a receiver that is waiting and makes every later call fail; the descriptor itself
// is given back only when no call is using it any more, so a number that the host hands out again
// can never be read or written by a late call on this socket.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace net {

// 127.0.0.1 as a host-order number.
inline constexpr std::uint32_t LoopbackAddress = 0x7F000001;

class UdpSocket {
public:
    enum class Status {
        Received,  // a datagram fitted the buffer; `size` bytes of it are there
        Truncated, // a datagram longer than the buffer arrived and was dropped; `size` is its length
        TimedOut,  // nothing arrived within the time
        Closed,    // the socket was closed (before or during the call)
        Failed,    // the host reported an error
    };

    struct Received {
        Status status = Status::Failed;
        std::size_t size = 0;
        std::uint32_t senderAddress = 0; // host order
        std::uint16_t senderPort = 0;
    };

    UdpSocket();
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Binds 127.0.0.1 on `port` (0: a free port the host chooses). False when the socket is open
    // already or the port cannot be had; errorText() then says why.
    bool open(std::uint16_t port);
    bool isOpen() const;
    // The bound port; 0 while not open.
    std::uint16_t localPort() const;

    // Sends one datagram to 127.0.0.1 on `port`. False when closed, or when the host refused or
    // sent only part of it.
    bool sendTo(std::uint16_t port, const void* data, std::size_t size);

    // Waits for one datagram, at most `timeout` (none: until one arrives or the socket closes),
    // and copies it into `buffer`. A datagram longer than `capacity` is taken off the socket
    // and reported as Truncated with nothing copied beyond `capacity`.
    Received receive(void* buffer, std::size_t capacity, std::optional<std::chrono::milliseconds> timeout);

    // Wakes a waiting receiver; later calls fail with Closed. Safe to call more than once and from
    // any thread.
    void close();

    // The host's text for the last failure of open().
    const std::string& errorText() const { return m_errorText; }

private:
    struct State;
    // Not to be called while another thread uses the socket.
    std::shared_ptr<State> state() const { return m_state; }

    std::shared_ptr<State> m_state;
    std::string m_errorText;
};

} // namespace net
