#include "platform/net/DownloadResult.h"

namespace net {

std::string_view downloadStatusName(DownloadStatus status)
{
    switch (status) {
    case DownloadStatus::Completed:
        return "completed";
    case DownloadStatus::Cancelled:
        return "cancelled";
    case DownloadStatus::InvalidAddress:
        return "invalid address";
    case DownloadStatus::UnsupportedProtocol:
        return "unsupported protocol";
    case DownloadStatus::HostNotFound:
        return "host not found";
    case DownloadStatus::ConnectFailed:
        return "cannot connect";
    case DownloadStatus::CertificateRejected:
        return "certificate rejected";
    case DownloadStatus::TimedOut:
        return "timed out";
    case DownloadStatus::TooManyRedirects:
        return "too many redirects";
    case DownloadStatus::TooLarge:
        return "too large";
    case DownloadStatus::ServerRefused:
        return "server refused";
    case DownloadStatus::TransferFailed:
        return "transfer failed";
    case DownloadStatus::LocalFileFailed:
        return "cannot write the local file";
    }
    return "unknown";
}

std::string DownloadResult::describe() const
{
    std::string text(downloadStatusName(status));
    if (status == DownloadStatus::ServerRefused && responseCode != 0)
        text += " (" + std::to_string(responseCode) + ")";
    if (!detail.empty())
        text += ": " + detail;
    return text;
}

} // namespace net
