#include "platform/net/UdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace net {

// The descriptors and who is using them. Calls take a use of the descriptor under the mutex and
// work on it without the mutex; close() only marks the state and wakes the receiver, and the last
// use gives the descriptors back.
struct UdpSocket::State {
    std::mutex mutex;
    int fd = -1;
    int wakeRead = -1;  // readable once close() was called
    int wakeWrite = -1;
    int users = 0;
    bool closed = false;
    std::uint16_t port = 0;

    ~State() { releaseDescriptors(); }

    // The socket's descriptor with one use taken, or -1 when closed.
    int acquire()
    {
        std::lock_guard guard(mutex);
        if (closed || fd < 0)
            return -1;
        ++users;
        return fd;
    }

    void release()
    {
        std::lock_guard guard(mutex);
        --users;
        if (closed && users == 0)
            releaseDescriptors();
    }

    bool isClosed()
    {
        std::lock_guard guard(mutex);
        return closed;
    }

    void close()
    {
        std::lock_guard guard(mutex);
        if (closed)
            return;
        closed = true;
        if (wakeWrite >= 0) {
            const char byte = 1;
            [[maybe_unused]] ssize_t written = ::write(wakeWrite, &byte, 1);
        }
        if (users == 0)
            releaseDescriptors();
    }

    void releaseDescriptors()
    {
        for (int* descriptor : {&fd, &wakeRead, &wakeWrite}) {
            if (*descriptor >= 0)
                ::close(*descriptor);
            *descriptor = -1;
        }
    }
};

namespace {

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(LoopbackAddress);
    return address;
}

// Milliseconds left until `deadline` for poll(); -1 waits without limit.
int pollTimeout(const std::optional<std::chrono::steady_clock::time_point>& deadline)
{
    if (!deadline)
        return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
        return 0;
    // Round up, so a wait never ends a fraction of a millisecond before its deadline.
    return int(left.count()) + 1;
}

} // namespace

UdpSocket::UdpSocket() = default;

UdpSocket::~UdpSocket()
{
    close();
}

bool UdpSocket::open(std::uint16_t port)
{
    if (isOpen()) {
        m_errorText = "the socket is open already";
        return false;
    }
    auto state = std::make_shared<State>();
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_errorText = std::strerror(errno);
        return false;
    }
    state->wakeRead = wake[0];
    state->wakeWrite = wake[1];
    state->fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (state->fd < 0) {
        m_errorText = std::strerror(errno);
        return false;
    }
    sockaddr_in address = loopback(port);
    if (::bind(state->fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        m_errorText = std::strerror(errno);
        return false;
    }
    socklen_t length = sizeof address;
    if (::getsockname(state->fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        m_errorText = std::strerror(errno);
        return false;
    }
    state->port = ntohs(address.sin_port);
    m_state = std::move(state);
    m_errorText.clear();
    return true;
}

bool UdpSocket::isOpen() const
{
    std::shared_ptr<State> current = state();
    return current && !current->isClosed();
}

std::uint16_t UdpSocket::localPort() const
{
    std::shared_ptr<State> current = state();
    if (!current || current->isClosed())
        return 0;
    return current->port;
}

bool UdpSocket::sendTo(std::uint16_t port, const void* data, std::size_t size)
{
    std::shared_ptr<State> current = state();
    if (!current)
        return false;
    int fd = current->acquire();
    if (fd < 0)
        return false;
    sockaddr_in address = loopback(port);
    ssize_t sent;
    do {
        sent = ::sendto(fd, data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (sent < 0 && errno == EINTR);
    current->release();
    return sent >= 0 && std::size_t(sent) == size;
}

UdpSocket::Received UdpSocket::receive(void* buffer, std::size_t capacity,
                                       std::optional<std::chrono::milliseconds> timeout)
{
    Received result;
    std::shared_ptr<State> current = state();
    if (!current) {
        result.status = Status::Closed;
        return result;
    }
    int fd = current->acquire();
    if (fd < 0) {
        result.status = Status::Closed;
        return result;
    }
    int wakeRead;
    {
        std::lock_guard guard(current->mutex);
        wakeRead = current->wakeRead;
    }
    std::optional<std::chrono::steady_clock::time_point> deadline;
    if (timeout)
        deadline = std::chrono::steady_clock::now() + *timeout;

    for (;;) {
        pollfd waits[2] = {{fd, POLLIN, 0}, {wakeRead, POLLIN, 0}};
        int ready = ::poll(waits, 2, pollTimeout(deadline));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            result.status = Status::Failed;
            break;
        }
        if (waits[1].revents != 0 || current->isClosed()) {
            result.status = Status::Closed;
            break;
        }
        if (ready == 0) {
            result.status = Status::TimedOut;
            break;
        }
        sockaddr_in sender{};
        socklen_t senderLength = sizeof sender;
        // MSG_TRUNC makes the host report the datagram's full length, so one longer than the
        // buffer is recognised (and dropped: it is off the socket either way).
        ssize_t got = ::recvfrom(fd, buffer, capacity, MSG_DONTWAIT | MSG_TRUNC,
                                 reinterpret_cast<sockaddr*>(&sender), &senderLength);
        if (got < 0) {
            // Nothing there after all, or an error report of an earlier send: wait again.
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNREFUSED)
                continue;
            result.status = Status::Failed;
            break;
        }
        result.size = std::size_t(got);
        result.status = result.size > capacity ? Status::Truncated : Status::Received;
        result.senderAddress = ntohl(sender.sin_addr.s_addr);
        result.senderPort = ntohs(sender.sin_port);
        break;
    }
    current->release();
    return result;
}

void UdpSocket::close()
{
    if (std::shared_ptr<State> current = state())
        current->close();
}

} // namespace net
