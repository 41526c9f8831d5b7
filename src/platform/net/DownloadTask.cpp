#include "platform/net/DownloadTask.h"

#include "platform/net/Download.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace net {

namespace {

// A cancelled transfer ends within one poll interval; this only guards against a host that hangs
// in a file operation.
constexpr std::chrono::seconds OwnerWait{10};

} // namespace

// Shared by the task and its worker, so a worker the owner had to give up on still finds it.
struct DownloadTask::State {
    DownloadCancellation cancellation;
    std::atomic<std::uint64_t> received{0};
    std::atomic<std::int64_t> total{-1};

    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    DownloadResult result;

    // Held while a callback of the owner runs; once the owner is gone none is called again.
    std::mutex callbackMutex;
    bool ownerGone = false;
};

DownloadTask::DownloadTask() : m_state(std::make_shared<State>()) {}

DownloadTask::~DownloadTask()
{
    if (!m_started)
        return;
    cancel();
    if (!m_thread.waitFor(OwnerWait)) {
        std::lock_guard guard(m_state->callbackMutex);
        m_state->ownerGone = true;
        m_thread.abandon();
    }
}

bool DownloadTask::start(DownloadRequest request, std::function<void()> onFinished)
{
    if (m_started)
        return false;
    std::shared_ptr<State> state = m_state;
    request.cancellation = &state->cancellation;
    auto body = [state, request = std::move(request), onFinished = std::move(onFinished)]() mutable {
        auto ownerProgress = std::move(request.onProgress);
        request.onProgress = [state, &ownerProgress](const DownloadProgress& progress) {
            state->received.store(progress.received);
            state->total.store(progress.total ? std::int64_t(*progress.total) : -1);
            if (ownerProgress) {
                std::lock_guard guard(state->callbackMutex);
                if (!state->ownerGone)
                    ownerProgress(progress);
            }
        };
        DownloadResult result = download(request);
        {
            std::lock_guard guard(state->mutex);
            state->result = std::move(result);
            state->finished = true;
        }
        state->ended.notify_all();
        if (onFinished) {
            std::lock_guard guard(state->callbackMutex);
            if (!state->ownerGone)
                onFinished();
        }
    };
    m_started = m_thread.start(std::move(body));
    return m_started;
}

DownloadProgress DownloadTask::progress() const
{
    DownloadProgress progress;
    progress.received = m_state->received.load();
    const std::int64_t total = m_state->total.load();
    if (total >= 0)
        progress.total = std::uint64_t(total);
    return progress;
}

bool DownloadTask::isFinished() const
{
    std::lock_guard guard(m_state->mutex);
    return m_state->finished;
}

bool DownloadTask::waitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_state->mutex);
    return m_state->ended.wait_for(lock, timeout, [this] { return m_state->finished; });
}

void DownloadTask::cancel()
{
    m_state->cancellation.cancel();
}

DownloadResult DownloadTask::result() const
{
    std::lock_guard guard(m_state->mutex);
    return m_state->result;
}

} // namespace net
