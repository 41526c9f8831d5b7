#pragma once
// What one download asks for: the address, the device file that the data replaces, the limits
// it runs under, and who hears of its progress or may cancel it.

#include "platform/device/WideText.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace net {

// The identity every download of the device announces.
inline constexpr char DefaultUserAgent[] = "Tavrel/3.41";

struct DownloadLimits {
    // Until the connection stands (name lookup included).
    std::chrono::milliseconds connectTimeout{10'000};
    // The whole transfer, connection and redirects included.
    std::chrono::milliseconds totalTimeout{60'000};
    // More data than this fails the download, whether the server announces it or just sends it.
    std::uint64_t maxBytes = 16 * 1024 * 1024;
    int maxRedirects = 5;
};

struct DownloadProgress {
    std::uint64_t received = 0;
    std::optional<std::uint64_t> total; // when the server announced the size
};

// Set from any thread; the download notices within a fraction of a second and ends as Cancelled.
class DownloadCancellation {
public:
    void cancel() { m_cancelled.store(true); }
    bool isCancelled() const { return m_cancelled.load(); }

private:
    std::atomic<bool> m_cancelled{false};
};

struct DownloadRequest {
    // An http://, https:// or ftp:// address; any other scheme is refused, before and after redirects.
    std::string url;
    // The device file that a complete download replaces; its folder must exist.
    device::WideString target;
    DownloadLimits limits;
    std::string userAgent = DefaultUserAgent;
    // Certificates to trust for https instead of the system's (a host file); empty: the system's.
    std::filesystem::path certificateAuthorities;
    // Called on the downloading thread after each piece of data arrives.
    std::function<void(const DownloadProgress&)> onProgress;
    // Not owned; may be null.
    const DownloadCancellation* cancellation = nullptr;
};

} // namespace net
