#include "remote/TavrelRemoteHost.h"

#include "platform/net/Download.h"
#include "platform/ui/MessageBox.h"

#include <atomic>
#include <cstdio>

namespace {

std::atomic<CTavrelRemoteHost*> g_installed{nullptr};

} // namespace

CTavrelRemoteHost::~CTavrelRemoteHost() = default;

void CTavrelRemoteHost::ShowMessage(const CQoString& text)
{
    const std::string line = ui::MessageBoxDialog::headlessLine(Caption, text.View()) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

net::DownloadResult CTavrelRemoteHost::Download(const net::DownloadRequest& request)
{
    return net::download(request);
}

CTavrelRemoteHost& CTavrelRemoteHost::Current()
{
    static CTavrelRemoteHost fallback;
    CTavrelRemoteHost* installed = g_installed.load();
    return installed ? *installed : fallback;
}

CTavrelRemoteHost::Scope::Scope(CTavrelRemoteHost& host) : m_previous(g_installed.exchange(&host)) {}

CTavrelRemoteHost::Scope::~Scope()
{
    g_installed.store(m_previous);
}
