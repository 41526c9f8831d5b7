#pragma once
// How a download ended. Every status but Completed means the target file was left as it was.

#include <cstdint>
#include <string>
#include <string_view>

namespace net {

enum class DownloadStatus {
    Completed,
    Cancelled,           // the caller cancelled it
    InvalidAddress,      // the address cannot be read as one
    UnsupportedProtocol, // not http, https or ftp — the address itself or a redirect
    HostNotFound,        // the host name does not resolve
    ConnectFailed,       // no connection (refused, unreachable, or the secure handshake failed)
    CertificateRejected, // the https server's certificate is not trusted or not for that host
    TimedOut,            // the connect or the total time-out ran out
    TooManyRedirects,
    TooLarge,            // more data than the size limit
    ServerRefused,       // an HTTP error status, or an FTP file that is missing or may not be read
    TransferFailed,      // the connection broke off, or less data came than was announced
    LocalFileFailed,     // the file on the device could not be written or put in place
};

// "completed", "timed out", ...
std::string_view downloadStatusName(DownloadStatus status);

struct DownloadResult {
    DownloadStatus status = DownloadStatus::TransferFailed;
    // The last response's HTTP status or FTP reply code; 0 when none came.
    long responseCode = 0;
    std::uint64_t bytesReceived = 0;
    // The transfer library's or the host's own words about a failure.
    std::string detail;

    bool succeeded() const { return status == DownloadStatus::Completed; }
    // One line for people and logs: "server refused (HTTP 404): The requested URL returned error: 404".
    std::string describe() const;
};

} // namespace net
