#pragma once
// CTavrelControlSocket: the calendar's end of the control protocol. One UDP socket, bound to
// 127.0.0.1 on the control port, takes the commands of control applications; notifications leave
// from the same socket for 127.0.0.1 on the notify port. The main frame owns it.
//
// A receive thread takes one datagram at a time into a buffer of 1016 bytes (the 12-byte head,
// a 1000-byte payload and the trailer: the longest datagram a control application may send).
// For a message ("ELIF") it keeps a copy of the payload in the inbox and
// hands its number, with the sender's address, to the frame: by default as window message
// WM_CONTROL_DATAGRAM (0x702, wParam the record's number, lParam the sender's IPv4 address)
// posted to the frame's window, which takes the record and dispatches it on the user-interface
// thread. After each datagram the thread pauses 100 ms, so at most about ten commands a second
// are taken in. A "KCAN" datagram ends the thread (notifications can still be sent). A datagram
// too long for the buffer, or with another tag, is dropped and reception goes on.
//
// Close wakes the receive thread and waits up to 2000 ms for it; a thread that has not ended by
// then is left to end on its own, never killed. The thread co-owns what it works on, so it never
// touches freed memory even then.

#include "control/TavrelControlInbox.h"
#include "control/TavrelNotifier.h"
#include "platform/device/Thread.h"
#include "platform/ui/WindowHandle.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CTavrelControlSocket : public CTavrelNotifier {
public:
    // The window message of an arrived datagram (wParam: record number, lParam: the sender's
    // IPv4 address).
    static constexpr std::uint32_t WM_CONTROL_DATAGRAM = 0x702;
    static constexpr std::uint16_t DefaultControlPort = 22137;
    static constexpr std::uint16_t DefaultNotifyPort = 22138;
    static constexpr unsigned PauseMs = 100;
    static constexpr unsigned CloseWaitMs = 2000;

    // Called on the receive thread with a record's number and the sender's address; false when
    // the record could not be handed on (it is then dropped).
    using HandOff = std::function<bool(std::uint32_t record, std::uint32_t senderAddress)>;

    CTavrelControlSocket();
    ~CTavrelControlSocket() override; // closes
    CTavrelControlSocket(const CTavrelControlSocket&) = delete;
    CTavrelControlSocket& operator=(const CTavrelControlSocket&) = delete;

    // Binds 127.0.0.1 on `controlPort` (0: any free port) and starts the receive thread, which
    // posts WM_CONTROL_DATAGRAM to `window`. True at once when open already; false when the port
    // cannot be had.
    bool Open(std::uint16_t controlPort, ui::WindowHandle window, std::uint16_t notifyPort = DefaultNotifyPort);
    bool Open(std::uint16_t controlPort, HandOff handOff, std::uint16_t notifyPort = DefaultNotifyPort);

    // Sends one notification to the notify port. False, with a log line, when the text is longer
    // than a datagram may carry (more than 497 characters); false when closed or the host refuses.
    bool Send(const CQoString& text) override;

    // True when the receive thread ended within its wait (or none was running).
    bool Close();

    bool IsOpen() const;
    // Whether commands are still taken in ("KCAN" and Close end that).
    bool IsReceiving() const;
    // The bound control port; 0 while closed.
    std::uint16_t GetControlPort() const;
    std::uint16_t GetNotifyPort() const { return m_notifyPort; }

    // The record behind a WM_CONTROL_DATAGRAM message, once.
    std::optional<CTavrelControlRecord> TakeRecord(std::uint32_t number);

private:
    struct Receiver;
    static void Receive(const std::shared_ptr<Receiver>& receiver);

    std::shared_ptr<Receiver> m_receiver;
    std::unique_ptr<device::Thread> m_thread;
    std::uint16_t m_notifyPort = DefaultNotifyPort;
};
