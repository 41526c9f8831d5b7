#include "remote/TavrelFetchingHost.h"

#include "platform/net/DownloadTask.h"
#include "platform/ui/Desktop.h"

#include <atomic>
#include <chrono>

namespace {

using namespace std::chrono_literals;

// A worker that has been cancelled ends within one poll of the transfer; this only bounds a host
// that hangs in a file operation.
constexpr auto CancelWait = 5s;

net::DownloadResult cancelledResult()
{
    net::DownloadResult result;
    result.status = net::DownloadStatus::Cancelled;
    return result;
}

} // namespace

CTavrelFetchingHost::CTavrelFetchingHost(ui::Window& owner) : CTavrelMessageBoxHost(&owner) {}

CTavrelFetchingHost::~CTavrelFetchingHost() = default;

void CTavrelFetchingHost::Cancel()
{
    m_cancelled = true;
    if (m_task)
        m_task->cancel();
}

net::DownloadResult CTavrelFetchingHost::Download(const net::DownloadRequest& request)
{
    if (m_cancelled)
        return cancelledResult();
    ui::Desktop* desktop = ui::Desktop::instance();
    if (!desktop || !desktop->isUserInterfaceThread() || m_task)
        return CTavrelRemoteHost::Download(request);

    m_progressToken = std::make_shared<bool>(true);
    net::DownloadRequest onWorker = request;
    onWorker.onProgress
        = [this, desktop, token = std::weak_ptr<bool>(m_progressToken),
           last = std::chrono::steady_clock::time_point()](const net::DownloadProgress& progress) mutable {
              const auto now = std::chrono::steady_clock::now();
              if (now - last < std::chrono::milliseconds(ProgressIntervalMs))
                  return;
              last = now;
              desktop->postTask([this, token, received = progress.received] {
                  if (token.lock() && m_onProgress)
                      m_onProgress(received);
              });
          };

    net::DownloadTask task;
    // The worker wakes the loop when it has ended, so the loop need not poll.
    if (!task.start(std::move(onWorker), [desktop] { desktop->postTask([] {}); })) {
        m_progressToken.reset();
        return CTavrelRemoteHost::Download(request);
    }
    m_task = &task;
    desktop->runModalLoop([&] { return task.isFinished() || m_cancelled; });
    m_task = nullptr;
    m_progressToken.reset();
    if (!task.isFinished()) {
        task.cancel();
        if (!task.waitFor(CancelWait))
            return cancelledResult();
    }
    return task.result();
}
