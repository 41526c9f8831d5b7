#include "platform/net/Download.h"
#include "platform/net/DownloadTask.h"

#include "LoopbackServer.h"
#include "TempDevice.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using net::DownloadStatus;
using testing_support::LoopbackServer;

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::filesystem::path& path, const std::string& data)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

std::string patternBytes(std::size_t size)
{
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = char('a' + (i * 7 + i / 251) % 26);
    return data;
}

// Names in the folder that are left-over temporaries of a download.
std::vector<std::string> temporariesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 5 && name.ends_with(".part"))
            found.push_back(name);
    }
    return found;
}

// A port nothing listens on: taken from the host and given back at once.
std::uint16_t closedPort()
{
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
}

class DownloadTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_served = std::filesystem::path(m_device.root()) / "served";
        std::filesystem::create_directories(m_served);
        std::filesystem::create_directories(m_device.host("TEMP"));
    }

    LoopbackServer& http()
    {
        if (!m_http)
            m_http = std::make_unique<LoopbackServer>(LoopbackServer::Kind::Http, m_served);
        return *m_http;
    }

    net::DownloadRequest request(const std::string& url)
    {
        net::DownloadRequest request;
        request.url = url;
        request.target = u"\\TEMP\\download.bin";
        return request;
    }

    std::filesystem::path target() const { return m_device.host("TEMP/download.bin"); }

    testing_support::TempDevice m_device;
    std::filesystem::path m_served;
    std::unique_ptr<LoopbackServer> m_http;
};

TEST_F(DownloadTest, CompleteTransferReplacesTheTargetAndReportsItsProgress)
{
    const std::string data = patternBytes(300'000);
    writeFile(m_served / "calendars" / "big.bin", data);
    writeFile(target(), "what was there before");

    std::vector<net::DownloadProgress> seen;
    net::DownloadRequest asked = request(http().url("calendars/big.bin"));
    asked.onProgress = [&](const net::DownloadProgress& progress) { seen.push_back(progress); };
    const net::DownloadResult result = net::download(asked);

    ASSERT_TRUE(result.succeeded()) << result.describe();
    EXPECT_EQ(result.responseCode, 200);
    EXPECT_EQ(result.bytesReceived, data.size());
    EXPECT_EQ(readFile(target()), data);
    EXPECT_TRUE(temporariesIn(target().parent_path()).empty());
    ASSERT_FALSE(seen.empty());
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_GT(seen[i].received, seen[i - 1].received);
    EXPECT_EQ(seen.back().received, data.size());
    ASSERT_TRUE(seen.back().total.has_value());
    EXPECT_EQ(*seen.back().total, data.size());
}

TEST_F(DownloadTest, ServerSeesTheDeviceUserAgent)
{
    const net::DownloadResult result = net::download(request(http().url("_/agent")));
    ASSERT_TRUE(result.succeeded()) << result.describe();
    EXPECT_EQ(readFile(target()), "Tavrel/3.41");
}

TEST_F(DownloadTest, RedirectsAreFollowedUpToTheLimit)
{
    writeFile(m_served / "cal.xml", "<Tavrel/>");
    const net::DownloadResult five = net::download(request(http().url("_/redirect/5/cal.xml")));
    ASSERT_TRUE(five.succeeded()) << five.describe();
    EXPECT_EQ(readFile(target()), "<Tavrel/>");

    net::DownloadRequest strict = request(http().url("_/redirect/2/cal.xml"));
    strict.limits.maxRedirects = 1;
    EXPECT_EQ(net::download(strict).status, DownloadStatus::TooManyRedirects);
}

struct FailureCase {
    const char* what;
    std::string address; // below the HTTP server, or a whole address
    DownloadStatus expected;
    net::DownloadLimits limits = {};
};

// Every way a transfer can fail leaves the file that stood at the target as it was, and no
// temporary beside it.
TEST_F(DownloadTest, FailedTransfersLeaveThePreviousFileAndNothingElse)
{
    writeFile(m_served / "small.bin", patternBytes(4096));
    net::DownloadLimits shortWait;
    shortWait.totalTimeout = 700ms;
    net::DownloadLimits small;
    small.maxBytes = 1000;
    net::DownloadLimits medium;
    medium.maxBytes = 100'000;

    const std::vector<FailureCase> cases = {
        {"missing file", "missing.bin", DownloadStatus::ServerRefused},
        {"server dies half-way", "_/die?size=100000&sent=50000", DownloadStatus::TransferFailed},
        {"redirect to a host file", "_/redirect-to?file:///etc/hostname", DownloadStatus::UnsupportedProtocol},
        {"six redirects", "_/redirect/6/small.bin", DownloadStatus::TooManyRedirects},
        {"server stalls", "_/stall", DownloadStatus::TimedOut, shortWait},
        {"announced size over the limit", "small.bin", DownloadStatus::TooLarge, small},
        {"unannounced size over the limit", "_/stream?size=300000", DownloadStatus::TooLarge, medium},
        {"host file", "file:///etc/hostname", DownloadStatus::UnsupportedProtocol},
        {"other protocol", "dict://127.0.0.1/", DownloadStatus::UnsupportedProtocol},
        {"nobody listening", "http://127.0.0.1:" + std::to_string(closedPort()) + "/x", DownloadStatus::ConnectFailed},
        {"malformed address", "http://[::1/x", DownloadStatus::InvalidAddress},
    };
    for (const FailureCase& failure : cases) {
        SCOPED_TRACE(failure.what);
        writeFile(target(), "the copy from before");
        const bool served = failure.address.starts_with("_/") || failure.address.find("://") == std::string::npos;
        const std::string url = served ? http().url(failure.address) : failure.address;
        net::DownloadRequest asked = request(url);
        asked.limits = failure.limits;
        const auto started = std::chrono::steady_clock::now();
        const net::DownloadResult result = net::download(asked);
        EXPECT_EQ(result.status, failure.expected) << result.describe();
        EXPECT_FALSE(result.describe().empty());
        EXPECT_EQ(readFile(target()), "the copy from before");
        EXPECT_TRUE(temporariesIn(target().parent_path()).empty());
        EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    }
}

TEST_F(DownloadTest, MissingFileReportsTheServersStatus)
{
    const net::DownloadResult result = net::download(request(http().url("nothing-here.xml")));
    EXPECT_EQ(result.status, DownloadStatus::ServerRefused);
    EXPECT_EQ(result.responseCode, 404);
    EXPECT_NE(result.describe().find("404"), std::string::npos) << result.describe();
    EXPECT_FALSE(std::filesystem::exists(target()));
}

TEST_F(DownloadTest, TargetFolderMustExist)
{
    net::DownloadRequest asked = request(http().url("anything"));
    asked.target = u"\\No Such Folder\\file.bin";
    const net::DownloadResult result = net::download(asked);
    EXPECT_EQ(result.status, DownloadStatus::LocalFileFailed);
    EXPECT_FALSE(result.detail.empty());
}

TEST_F(DownloadTest, CancellingFromTheProgressCallbackEndsTheTransfer)
{
    writeFile(target(), "kept");
    net::DownloadCancellation cancellation;
    net::DownloadRequest asked = request(http().url("_/slow?size=1000000&chunk=4096&delay=20"));
    asked.cancellation = &cancellation;
    asked.onProgress = [&](const net::DownloadProgress&) { cancellation.cancel(); };
    const auto started = std::chrono::steady_clock::now();
    const net::DownloadResult result = net::download(asked);
    EXPECT_EQ(result.status, DownloadStatus::Cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_EQ(readFile(target()), "kept");
    EXPECT_TRUE(temporariesIn(target().parent_path()).empty());
}

TEST_F(DownloadTest, FtpDownloadsAFileAndRefusesAMissingOne)
{
    const std::string data = patternBytes(70'000);
    writeFile(m_served / "pub" / "Tavrel.xml", data);
    LoopbackServer ftp(LoopbackServer::Kind::Ftp, m_served);

    const net::DownloadResult result = net::download(request(ftp.url("pub/Tavrel.xml")));
    ASSERT_TRUE(result.succeeded()) << result.describe();
    EXPECT_EQ(readFile(target()), data);

    const net::DownloadResult missing = net::download(request(ftp.url("pub/none.xml")));
    EXPECT_EQ(missing.status, DownloadStatus::ServerRefused) << missing.describe();
    EXPECT_EQ(readFile(target()), data);
    EXPECT_TRUE(temporariesIn(target().parent_path()).empty());
}

TEST_F(DownloadTest, HttpsChecksTheServersCertificate)
{
    writeFile(m_served / "secure.xml", "secret calendar");
    LoopbackServer https(LoopbackServer::Kind::Https, m_served);

    // The test server's certificate is its own; the system does not trust it.
    const net::DownloadResult untrusted = net::download(request(https.url("secure.xml")));
    EXPECT_EQ(untrusted.status, DownloadStatus::CertificateRejected) << untrusted.describe();
    EXPECT_FALSE(std::filesystem::exists(target()));

    net::DownloadRequest trusting = request(https.url("secure.xml"));
    trusting.certificateAuthorities = LoopbackServer::certificateFile();
    const net::DownloadResult trusted = net::download(trusting);
    ASSERT_TRUE(trusted.succeeded()) << trusted.describe();
    EXPECT_EQ(readFile(target()), "secret calendar");
}

TEST_F(DownloadTest, TaskRunsOnAWorkerAndShowsProgressWhileItRuns)
{
    std::atomic<int> finishedCalls{0};
    std::atomic<bool> finishedOnWorker{false};
    std::atomic<bool> finishedBeforeCall{false};
    const auto caller = std::this_thread::get_id();
    bool sawPart = false;
    net::DownloadResult result;
    {
        net::DownloadTask task;
        ASSERT_TRUE(task.start(request(http().url("_/slow?size=65536&chunk=8192&delay=40")), [&] {
            finishedOnWorker = std::this_thread::get_id() != caller;
            finishedBeforeCall = task.isFinished();
            ++finishedCalls;
        }));
        EXPECT_FALSE(task.start(request(http().url("_/agent"))));

        // The caller's thread stays free: it watches the bytes come in, as a dialog's status line does.
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!task.isFinished() && std::chrono::steady_clock::now() < deadline) {
            const net::DownloadProgress progress = task.progress();
            if (progress.received > 0 && progress.received < 65536) {
                sawPart = true;
                EXPECT_EQ(progress.total.value_or(0), 65536u);
            }
            std::this_thread::sleep_for(5ms);
        }
        ASSERT_TRUE(task.waitFor(5s));
        result = task.result();
    } // the worker has ended here
    EXPECT_TRUE(sawPart);
    ASSERT_TRUE(result.succeeded()) << result.describe();
    EXPECT_EQ(readFile(target()).size(), 65536u);
    EXPECT_EQ(finishedCalls.load(), 1);
    EXPECT_TRUE(finishedOnWorker.load());
    EXPECT_TRUE(finishedBeforeCall.load());
}

TEST_F(DownloadTest, CancellingATaskMidWayLeavesNothingStanding)
{
    net::DownloadTask task;
    ASSERT_TRUE(task.start(request(http().url("_/slow?size=2000000&chunk=4096&delay=20"))));
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (task.progress().received == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_GT(task.progress().received, 0u);

    task.cancel();
    ASSERT_TRUE(task.waitFor(2s));
    EXPECT_EQ(task.result().status, DownloadStatus::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(target()));
    EXPECT_TRUE(temporariesIn(target().parent_path()).empty());
}

TEST_F(DownloadTest, DestroyingARunningTaskCancelsIt)
{
    const auto started = std::chrono::steady_clock::now();
    {
        net::DownloadTask task;
        ASSERT_TRUE(task.start(request(http().url("_/stall"))));
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
    EXPECT_TRUE(temporariesIn(target().parent_path()).empty());
}

} // namespace
