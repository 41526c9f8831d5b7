#pragma once
// SIGTERM and SIGINT as a request to end, not as the end itself: while an object of this class
// lives, each of the two signals runs the handler given — on a thread of its own, never inside the
// signal handler — so a program can shut down in order (its user-interface thread told through a
// posted message). The signal handler itself only writes the signal's number into a pipe.
//
// A second SIGTERM or SIGINT ends the program at once, as if no handler were installed: a
// shut-down that hangs can still be stopped. When the object goes, the previous dispositions come
// back. One object at a time per process.

#include <functional>
#include <memory>

namespace device {

class TerminationSignals {
public:
    using Handler = std::function<void(int signal)>;

    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Installs the signal handlers; false (and nothing installed) when the pipe or the thread
    // cannot be made, or another object is already installed.
    [[nodiscard]] bool start(Handler handler);
    bool isStarted() const { return m_state != nullptr; }

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace device
