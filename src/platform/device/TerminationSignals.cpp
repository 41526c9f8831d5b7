#include "platform/device/TerminationSignals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <thread>
#include <unistd.h>

namespace device {

namespace {

// The write end of the pipe of the installed object, read by the signal handler; -1 when none.
std::atomic<int> signalPipe{-1};

extern "C" void writeSignalToPipe(int signal)
{
    const int saved = errno;
    const int descriptor = signalPipe.load();
    if (descriptor >= 0) {
        const unsigned char number = static_cast<unsigned char>(signal);
        [[maybe_unused]] const ssize_t written = ::write(descriptor, &number, 1);
    }
    errno = saved;
}

constexpr int handledSignals[] = {SIGTERM, SIGINT};
constexpr unsigned char stopByte = 0; // no signal has the number 0

} // namespace

struct TerminationSignals::State {
    int readEnd = -1;
    int writeEnd = -1;
    struct sigaction previous[std::size(handledSignals)] {};
    std::thread watcher;
};

TerminationSignals::TerminationSignals() = default;

TerminationSignals::~TerminationSignals()
{
    if (!m_state)
        return;
    for (std::size_t i = 0; i < std::size(handledSignals); ++i)
        ::sigaction(handledSignals[i], &m_state->previous[i], nullptr);
    signalPipe.store(-1);
    const unsigned char stop = stopByte;
    while (::write(m_state->writeEnd, &stop, 1) < 0 && errno == EINTR) {
    }
    if (m_state->watcher.joinable())
        m_state->watcher.join();
    ::close(m_state->readEnd);
    ::close(m_state->writeEnd);
}

bool TerminationSignals::start(Handler handler)
{
    if (m_state || !handler)
        return false;
    auto state = std::make_unique<State>();
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    state->readEnd = ends[0];
    state->writeEnd = ends[1];
    // The handler must never block: a full pipe drops the signal, the ones before it are read.
    ::fcntl(state->writeEnd, F_SETFL, ::fcntl(state->writeEnd, F_GETFL) | O_NONBLOCK);
    int expected = -1;
    if (!signalPipe.compare_exchange_strong(expected, state->writeEnd)) {
        ::close(state->readEnd);
        ::close(state->writeEnd);
        return false;
    }
    try {
        state->watcher = std::thread([readEnd = state->readEnd, handler = std::move(handler)] {
            for (;;) {
                unsigned char number = 0;
                const ssize_t got = ::read(readEnd, &number, 1);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got != 1 || number == stopByte)
                    return;
                handler(int(number));
            }
        });
    } catch (...) {
        signalPipe.store(-1);
        ::close(state->readEnd);
        ::close(state->writeEnd);
        return false;
    }
    struct sigaction action {};
    action.sa_handler = writeSignalToPipe;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the second signal takes the default action and ends the program at once.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (std::size_t i = 0; i < std::size(handledSignals); ++i)
        ::sigaction(handledSignals[i], &action, &state->previous[i]);
    m_state = std::move(state);
    return true;
}

} // namespace device
