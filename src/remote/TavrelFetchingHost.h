#pragma once
// CTavrelFetchingHost: the remote host of a dialog that fetches (CTavrelRemoteHost::Scope). Each
// download runs on a worker thread (net::DownloadTask) while the dialog's loop goes on, so the
// dialog stays alive: it repaints, its status line shows the bytes received, and its Escape
// cancels. A cancelled attach ends like a host that does not answer: the running download stops,
// and every further download of the same attach (the pictures of a calendar) ends at once, until
// the dialog begins the next attach.
//
// Messages are message boxes over the dialog.

#include "remote/TavrelMessageBoxHost.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace net {
class DownloadTask;
}

namespace ui {
class Window;
}

class CTavrelFetchingHost : public CTavrelMessageBoxHost {
public:
    // How often, at most, the bytes received are handed on while data arrives.
    static constexpr int ProgressIntervalMs = 100;

    explicit CTavrelFetchingHost(ui::Window& owner);
    ~CTavrelFetchingHost() override;

    net::DownloadResult Download(const net::DownloadRequest& request) override;
    bool IsFetching() const override { return m_task != nullptr; }

    // Called on the dialog's thread with the bytes received of the running download.
    void SetProgressHandler(std::function<void(std::uint64_t received)> handler) { m_onProgress = std::move(handler); }
    // A new attach: downloads run again.
    void BeginAttach() { m_cancelled = false; }
    // Stops the running download and every further one of this attach.
    void Cancel();
    bool WasCancelled() const { return m_cancelled; }

private:
    std::function<void(std::uint64_t)> m_onProgress;
    net::DownloadTask* m_task = nullptr;
    bool m_cancelled = false;
    // Progress posted from the worker reaches the handler only while its download runs.
    std::shared_ptr<bool> m_progressToken;
};
