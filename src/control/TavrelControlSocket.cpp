#include "control/TavrelControlSocket.h"

#include "common/QoLog.h"
#include "platform/device/CriticalSection.h"
#include "platform/net/UdpSocket.h"
#include "platform/ui/Desktop.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

// What the receive thread works on; the thread keeps its own reference.
struct CTavrelControlSocket::Receiver {
    net::UdpSocket socket;
    CTavrelControlInbox inbox;
    HandOff handOff;
    // Serialises the hand-offs of received datagrams.
    device::CriticalSection dispatchLock;
    std::atomic<bool> receiving{false};

    std::mutex pauseMutex;
    std::condition_variable pauseWake;
    bool stopping = false;

    // The pause after a datagram; ends early when the socket closes. False when it did.
    bool Pause()
    {
        std::unique_lock guard(pauseMutex);
        return !pauseWake.wait_for(guard, std::chrono::milliseconds(PauseMs), [&] { return stopping; });
    }
};

namespace {

void logLine(const char16_t* format, unsigned long value)
{
    CQoString line;
    line.Format(format, value);
    CQoLog::LogWithDebugOutput(line.GetString());
}

} // namespace

CTavrelControlSocket::CTavrelControlSocket() = default;

CTavrelControlSocket::~CTavrelControlSocket()
{
    Close();
}

bool CTavrelControlSocket::Open(std::uint16_t controlPort, ui::WindowHandle window, std::uint16_t notifyPort)
{
    return Open(
        controlPort,
        [window](std::uint32_t record, std::uint32_t senderAddress) {
            ui::Desktop* desktop = ui::Desktop::instance();
            return desktop && desktop->post(window, WM_CONTROL_DATAGRAM, record, ui::LParam(senderAddress));
        },
        notifyPort);
}

bool CTavrelControlSocket::Open(std::uint16_t controlPort, HandOff handOff, std::uint16_t notifyPort)
{
    if (IsOpen())
        return true;
    auto receiver = std::make_shared<Receiver>();
    if (!receiver->socket.open(controlPort)) {
        CQoString line;
        line.Format(u"CTavrelControlSocket::Open() port %u: %S\n", unsigned(controlPort),
                    receiver->socket.errorText().c_str());
        CQoLog::LogWithDebugOutput(line.GetString());
        return false;
    }
    receiver->handOff = std::move(handOff);
    receiver->receiving = true;
    auto thread = std::make_unique<device::Thread>();
    if (!thread->start([receiver] { Receive(receiver); })) {
        receiver->socket.close();
        return false;
    }
    m_notifyPort = notifyPort;
    m_receiver = std::move(receiver);
    m_thread = std::move(thread);
    return true;
}

void CTavrelControlSocket::Receive(const std::shared_ptr<Receiver>& receiver)
{
    std::vector<std::uint8_t> buffer(CTavrelDatagram::ReceiveBufferSize);
    for (;;) {
        const net::UdpSocket::Received got = receiver->socket.receive(buffer.data(), buffer.size(), std::nullopt);
        if (got.status == net::UdpSocket::Status::Closed || got.status == net::UdpSocket::Status::Failed)
            break;
        if (got.status == net::UdpSocket::Status::TimedOut)
            continue;
        if (got.status == net::UdpSocket::Status::Truncated) {
            logLine(u"Control datagram of %lu bytes is longer than the buffer and was dropped\n", got.size);
        } else {
            const CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(buffer.data(), got.size);
            if (decoded.kind == CTavrelDatagram::Kind::Stop) {
                CQoLog::LogWithDebugOutput(u"Control socket stopped receiving (KCAN)\n");
                break;
            }
            if (decoded.kind == CTavrelDatagram::Kind::Message) {
                device::ScopedLock guard(receiver->dispatchLock);
                CTavrelControlRecord record{decoded.payload, got.senderAddress};
                const std::uint32_t number = receiver->inbox.Put(std::move(record));
                if (number == 0)
                    logLine(u"Control inbox full (%lu records): datagram dropped\n", CTavrelControlInbox::Capacity);
                else if (!receiver->handOff || !receiver->handOff(number, got.senderAddress))
                    receiver->inbox.Take(number);
            }
        }
        if (!receiver->Pause())
            break;
    }
    receiver->receiving = false;
}

bool CTavrelControlSocket::Send(const CQoString& text)
{
    std::optional<CTavrelDatagram::Bytes> datagram = CTavrelDatagram::Encode(text.View());
    if (!datagram) {
        CQoString line;
        line.Format(u"CTavrelControlSocket::Send() %u characters do not fit one datagram, not sent: %.40s\n",
                    text.GetLength(), text.GetString());
        CQoLog::LogWithDebugOutput(line.GetString());
        return false;
    }
    if (!m_receiver)
        return false;
    return m_receiver->socket.sendTo(m_notifyPort, datagram->data(), datagram->size());
}

bool CTavrelControlSocket::Close()
{
    if (!m_receiver)
        return true;
    {
        std::lock_guard guard(m_receiver->pauseMutex);
        m_receiver->stopping = true;
    }
    m_receiver->pauseWake.notify_all();
    m_receiver->socket.close();
    bool ended = true;
    if (m_thread && !m_thread->waitFor(std::chrono::milliseconds(CloseWaitMs))) {
        CQoLog::LogWithDebugOutput(u"Control socket's receive thread did not end in time; left to end\n");
        m_thread->abandon();
        ended = false;
    }
    m_receiver->inbox.Clear();
    m_thread.reset();
    m_receiver.reset();
    return ended;
}

bool CTavrelControlSocket::IsOpen() const
{
    return m_receiver && m_receiver->socket.isOpen();
}

bool CTavrelControlSocket::IsReceiving() const
{
    return m_receiver && m_receiver->receiving;
}

std::uint16_t CTavrelControlSocket::GetControlPort() const
{
    return m_receiver ? m_receiver->socket.localPort() : 0;
}

std::optional<CTavrelControlRecord> CTavrelControlSocket::TakeRecord(std::uint32_t number)
{
    if (!m_receiver)
        return std::nullopt;
    return m_receiver->inbox.Take(number);
}
