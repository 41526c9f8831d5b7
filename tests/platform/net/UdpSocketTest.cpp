#include "platform/net/SocketLayer.h"
#include "platform/net/UdpSocket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <future>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using net::UdpSocket;

std::string text(const std::vector<char>& buffer, std::size_t size) { return std::string(buffer.data(), size); }

TEST(UdpSocketTest, SocketLayerStartsUp)
{
    EXPECT_TRUE(net::startupSocketLayer());
    net::cleanupSocketLayer();
}

TEST(UdpSocketTest, DatagramTravelsBetweenTwoSocketsWithItsSender)
{
    UdpSocket receiver, sender;
    ASSERT_TRUE(receiver.open(0)) << receiver.errorText();
    ASSERT_TRUE(sender.open(0)) << sender.errorText();
    ASSERT_NE(receiver.localPort(), 0);

    ASSERT_TRUE(sender.sendTo(receiver.localPort(), "hello", 5));
    std::vector<char> buffer(64);
    UdpSocket::Received got = receiver.receive(buffer.data(), buffer.size(), 2s);
    ASSERT_EQ(got.status, UdpSocket::Status::Received);
    EXPECT_EQ(text(buffer, got.size), "hello");
    EXPECT_EQ(got.senderAddress, net::LoopbackAddress);
    EXPECT_EQ(got.senderPort, sender.localPort());
}

TEST(UdpSocketTest, BindsTheLoopbackAddressOnly)
{
    UdpSocket socket;
    ASSERT_TRUE(socket.open(0));
    // Another socket may still take the same port on a different local address: ours holds
    // 127.0.0.1 alone, not every address of the host.
    int other = ::socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_GE(other, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(socket.localPort());
    address.sin_addr.s_addr = htonl(0x7F000002); // 127.0.0.2, on the loopback interface too
    EXPECT_EQ(::bind(other, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << std::strerror(errno);
    ::close(other);

    // And a second socket cannot take our address and port.
    UdpSocket second;
    EXPECT_FALSE(second.open(socket.localPort()));
    EXPECT_FALSE(second.errorText().empty());
}

TEST(UdpSocketTest, LongDatagramIsReportedAndDroppedWithoutOverrun)
{
    UdpSocket receiver, sender;
    ASSERT_TRUE(receiver.open(0));
    ASSERT_TRUE(sender.open(0));
    std::string big(3000, 'x');
    ASSERT_TRUE(sender.sendTo(receiver.localPort(), big.data(), big.size()));
    ASSERT_TRUE(sender.sendTo(receiver.localPort(), "next", 4));

    // A guard area after the buffer's capacity must stay untouched.
    std::vector<char> buffer(32, '#');
    UdpSocket::Received got = receiver.receive(buffer.data(), 16, 2s);
    EXPECT_EQ(got.status, UdpSocket::Status::Truncated);
    EXPECT_EQ(got.size, big.size());
    EXPECT_EQ(std::string(buffer.data() + 16, 16), std::string(16, '#'));

    // The next datagram is received as usual.
    got = receiver.receive(buffer.data(), 16, 2s);
    ASSERT_EQ(got.status, UdpSocket::Status::Received);
    EXPECT_EQ(text(buffer, got.size), "next");
}

TEST(UdpSocketTest, ReceiveTimesOutAfterItsTime)
{
    UdpSocket socket;
    ASSERT_TRUE(socket.open(0));
    char buffer[8];
    auto started = std::chrono::steady_clock::now();
    UdpSocket::Received got = socket.receive(buffer, sizeof buffer, 80ms);
    auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(got.status, UdpSocket::Status::TimedOut);
    EXPECT_GE(waited, 80ms);
    EXPECT_LT(waited, 2s);

    EXPECT_EQ(socket.receive(buffer, sizeof buffer, 0ms).status, UdpSocket::Status::TimedOut);
}

TEST(UdpSocketTest, CloseWakesABlockedReceiverAndLaterCallsFail)
{
    UdpSocket socket;
    ASSERT_TRUE(socket.open(0));
    std::uint16_t port = socket.localPort();
    auto receiving = std::async(std::launch::async, [&] {
        char buffer[8];
        return socket.receive(buffer, sizeof buffer, std::nullopt).status;
    });
    // The receiver is (very likely) waiting by now; either way it must come back Closed.
    std::this_thread::sleep_for(50ms);
    socket.close();
    ASSERT_EQ(receiving.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(receiving.get(), UdpSocket::Status::Closed);

    EXPECT_FALSE(socket.isOpen());
    EXPECT_EQ(socket.localPort(), 0);
    EXPECT_FALSE(socket.sendTo(port, "x", 1));
    char buffer[8];
    EXPECT_EQ(socket.receive(buffer, sizeof buffer, 10ms).status, UdpSocket::Status::Closed);
    socket.close(); // twice is fine

    // The port is free again and the object can be opened anew.
    UdpSocket again;
    EXPECT_TRUE(again.open(port)) << again.errorText();
    EXPECT_TRUE(socket.open(0));
}

TEST(UdpSocketTest, SendToAPortNobodyListensOnDoesNotDisturbReception)
{
    UdpSocket socket, peer;
    ASSERT_TRUE(socket.open(0));
    ASSERT_TRUE(peer.open(0));
    std::uint16_t silent = peer.localPort();
    peer.close();
    // The host may answer with "port unreachable"; the next receive must not fail because of it.
    socket.sendTo(silent, "lost", 4);
    UdpSocket other;
    ASSERT_TRUE(other.open(0));
    ASSERT_TRUE(other.sendTo(socket.localPort(), "kept", 4));
    std::vector<char> buffer(16);
    UdpSocket::Received got = socket.receive(buffer.data(), buffer.size(), 2s);
    ASSERT_EQ(got.status, UdpSocket::Status::Received);
    EXPECT_EQ(text(buffer, got.size), "kept");
}

TEST(UdpSocketTest, OpenTwiceFails)
{
    UdpSocket socket;
    ASSERT_TRUE(socket.open(0));
    EXPECT_FALSE(socket.open(0));
    EXPECT_TRUE(socket.isOpen());
}

TEST(UdpSocketTest, SendingFromOneThreadWhileAnotherReceives)
{
    UdpSocket socket, peer;
    ASSERT_TRUE(socket.open(0));
    ASSERT_TRUE(peer.open(0));
    constexpr int count = 50;
    auto receiving = std::async(std::launch::async, [&] {
        int got = 0;
        char buffer[16];
        while (got < count && socket.receive(buffer, sizeof buffer, 2s).status == UdpSocket::Status::Received)
            ++got;
        return got;
    });
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(peer.sendTo(socket.localPort(), "ping", 4));
        ASSERT_TRUE(socket.sendTo(peer.localPort(), "pong", 4));
    }
    EXPECT_EQ(receiving.get(), count);
}

} // namespace
