#include "platform/net/Download.h"

#include "platform/net/ReplacementFile.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace net {

namespace {

constexpr char AllowedProtocols[] = "http,https,ftp";
constexpr char LoopbackHosts[] = "localhost,127.0.0.1,::1";
// How long the transfer loop waits for the connection before it looks at the cancellation again.
constexpr int PollMilliseconds = 50;

bool initialiseLibrary()
{
    static std::once_flag once;
    static bool initialised = false;
    std::call_once(once, [] { initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return initialised;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// One transfer's state, shared with libcurl's callbacks.
class Transfer {
public:
    Transfer(const DownloadRequest& request, ReplacementFile& file) : m_request(request), m_file(file) {}

    DownloadResult run();

private:
    static std::size_t onData(char* data, std::size_t size, std::size_t count, void* self);
    std::size_t receive(const char* data, std::size_t size);
    bool configure(CURL* easy);
    CURLcode perform(CURL* easy);
    DownloadResult finish(CURL* easy, CURLcode code);
    bool isCancelled() const { return m_request.cancellation && m_request.cancellation->isCancelled(); }

    const DownloadRequest& m_request;
    ReplacementFile& m_file;
    CURL* m_easy = nullptr;
    std::uint64_t m_received = 0;
    bool m_tooLarge = false;
    bool m_cancelled = false;
    bool m_localFailure = false;
    char m_errorBuffer[CURL_ERROR_SIZE] = {};
};

std::size_t Transfer::onData(char* data, std::size_t size, std::size_t count, void* self)
{
    return static_cast<Transfer*>(self)->receive(data, size * count);
}

std::size_t Transfer::receive(const char* data, std::size_t size)
{
    // Returning fewer bytes than given makes libcurl end the transfer with a write error; the
    // flags say which of ours it was.
    if (isCancelled()) {
        m_cancelled = true;
        return 0;
    }
    if (size > m_request.limits.maxBytes - m_received) {
        m_tooLarge = true;
        return 0;
    }
    if (!m_file.write(data, size)) {
        m_localFailure = true;
        return 0;
    }
    m_received += size;
    if (m_request.onProgress) {
        DownloadProgress progress;
        progress.received = m_received;
        curl_off_t length = -1;
        if (curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK && length >= 0)
            progress.total = std::uint64_t(length);
        m_request.onProgress(progress);
    }
    return size;
}

bool Transfer::configure(CURL* easy)
{
    const DownloadLimits& limits = m_request.limits;
    bool ok = true;
    auto set = [&ok](CURLcode code) { ok = ok && code == CURLE_OK; };
    set(curl_easy_setopt(easy, CURLOPT_URL, m_request.url.c_str()));
    set(curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, AllowedProtocols));
    set(curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, AllowedProtocols));
    set(curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L));
    set(curl_easy_setopt(easy, CURLOPT_MAXREDIRS, long(limits.maxRedirects)));
    set(curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connectTimeout.count())));
    set(curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(limits.totalTimeout.count())));
    set(curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBytes)));
    set(curl_easy_setopt(easy, CURLOPT_USERAGENT, m_request.userAgent.c_str()));
    set(curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L));
    set(curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L));
    set(curl_easy_setopt(easy, CURLOPT_NOPROXY, LoopbackHosts));
    set(curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, m_errorBuffer));
    set(curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onData));
    set(curl_easy_setopt(easy, CURLOPT_WRITEDATA, this));
    if (!m_request.certificateAuthorities.empty())
        set(curl_easy_setopt(easy, CURLOPT_CAINFO, m_request.certificateAuthorities.c_str()));
    return ok;
}

// Drives the transfer through a multi handle, so that a cancellation is seen within one poll
// interval even while nothing arrives.
CURLcode Transfer::perform(CURL* easy)
{
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK)
        return CURLE_OUT_OF_MEMORY;
    CURLcode result = CURLE_OK;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (!running)
            break;
        if (isCancelled()) {
            m_cancelled = true;
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_poll(multi.get(), nullptr, 0, PollMilliseconds, nullptr) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
    }
    if (!running) {
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
                result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    return result;
}

DownloadStatus statusOf(CURLcode code)
{
    switch (code) {
    case CURLE_OK:
        return DownloadStatus::Completed;
    case CURLE_ABORTED_BY_CALLBACK:
        return DownloadStatus::Cancelled;
    case CURLE_URL_MALFORMAT:
        return DownloadStatus::InvalidAddress;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return DownloadStatus::UnsupportedProtocol;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return DownloadStatus::HostNotFound;
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_FTP_CANT_GET_HOST:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
        return DownloadStatus::ConnectFailed;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return DownloadStatus::CertificateRejected;
    case CURLE_OPERATION_TIMEDOUT:
        return DownloadStatus::TimedOut;
    case CURLE_TOO_MANY_REDIRECTS:
        return DownloadStatus::TooManyRedirects;
    case CURLE_FILESIZE_EXCEEDED:
        return DownloadStatus::TooLarge;
    case CURLE_HTTP_RETURNED_ERROR:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_LOGIN_DENIED:
        return DownloadStatus::ServerRefused;
    default:
        return DownloadStatus::TransferFailed;
    }
}

DownloadResult Transfer::finish(CURL* easy, CURLcode code)
{
    DownloadResult result;
    result.bytesReceived = m_received;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.responseCode);
    // Our own reasons for ending a transfer come first: libcurl only saw a short write.
    if (m_cancelled)
        result.status = DownloadStatus::Cancelled;
    else if (m_tooLarge)
        result.status = DownloadStatus::TooLarge;
    else if (m_localFailure)
        result.status = DownloadStatus::LocalFileFailed;
    else
        result.status = statusOf(code);

    if (result.status == DownloadStatus::TooLarge)
        result.detail = "more than " + std::to_string(m_request.limits.maxBytes) + " bytes";
    else if (result.status == DownloadStatus::LocalFileFailed)
        result.detail = m_file.errorText();
    else if (code != CURLE_OK && result.status != DownloadStatus::Cancelled)
        result.detail = m_errorBuffer[0] ? m_errorBuffer : curl_easy_strerror(code);

    if (result.succeeded() && !m_file.commit()) {
        result.status = DownloadStatus::LocalFileFailed;
        result.detail = m_file.errorText();
    }
    if (!result.succeeded())
        m_file.abandon();
    return result;
}

DownloadResult Transfer::run()
{
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        DownloadResult result;
        result.detail = "the transfer library cannot start a transfer";
        return result;
    }
    m_easy = easy.get();
    if (!configure(easy.get())) {
        DownloadResult result;
        result.detail = "the transfer library refused the settings";
        return result;
    }
    return finish(easy.get(), perform(easy.get()));
}

} // namespace

DownloadResult download(const DownloadRequest& request)
{
    DownloadResult result;
    if (!initialiseLibrary()) {
        result.detail = "the transfer library cannot start";
        return result;
    }
    if (request.cancellation && request.cancellation->isCancelled()) {
        result.status = DownloadStatus::Cancelled;
        return result;
    }
    ReplacementFile file;
    if (!file.create(request.target)) {
        result.status = DownloadStatus::LocalFileFailed;
        result.detail = file.errorText();
        return result;
    }
    Transfer transfer(request, file);
    return transfer.run();
}

} // namespace net
