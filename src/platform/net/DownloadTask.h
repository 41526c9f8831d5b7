#pragma once
// One download on a worker thread, so that the thread that started it stays free: a dialog keeps
// its message loop running, repaints a status line from progress() and calls cancel() when the
// user presses Escape.
//
// The request's onProgress and the task's onFinished run on the worker thread; a dialog posts
// itself a message from them rather than touching windows there. The request's own cancellation
// is replaced by the task's: cancel() is how to stop it. Destroying a running task cancels it and
// waits for the worker to end.

#include "platform/device/Thread.h"
#include "platform/net/DownloadRequest.h"
#include "platform/net/DownloadResult.h"

#include <chrono>
#include <functional>
#include <memory>

namespace net {

class DownloadTask {
public:
    DownloadTask();
    ~DownloadTask();
    DownloadTask(const DownloadTask&) = delete;
    DownloadTask& operator=(const DownloadTask&) = delete;

    // Starts the download. False when this task was started before or no thread could be had.
    // `onFinished` runs once the task reads as finished and its result is there.
    bool start(DownloadRequest request, std::function<void()> onFinished = {});

    // What has arrived so far; safe from any thread at any time.
    DownloadProgress progress() const;
    bool isFinished() const;
    // True when the download ended within the time.
    bool waitFor(std::chrono::milliseconds timeout);
    void cancel();
    // How it ended; meaningful once isFinished() is true.
    DownloadResult result() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
    device::Thread m_thread;
    bool m_started = false;
};

} // namespace net
