#include "control/TavrelControlSocket.h"

#include "platform/device/DebugOutput.h"
#include "platform/net/UdpSocket.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "protocol/TavrelDatagram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string utf8(const CQoString& text)
{
    return device::toUtf8(text.View());
}

// Collects the hand-offs of the receive thread.
class HandOffs {
public:
    CTavrelControlSocket::HandOff Sink()
    {
        return [this](std::uint32_t record, std::uint32_t sender) {
            std::lock_guard guard(m_mutex);
            m_items.push_back({record, sender, Clock::now()});
            m_arrived.notify_all();
            return accept;
        };
    }
    struct Item {
        std::uint32_t record;
        std::uint32_t sender;
        Clock::time_point at;
    };
    bool WaitFor(std::size_t count, std::chrono::milliseconds timeout = 3s)
    {
        std::unique_lock guard(m_mutex);
        return m_arrived.wait_for(guard, timeout, [&] { return m_items.size() >= count; });
    }
    std::vector<Item> Items()
    {
        std::lock_guard guard(m_mutex);
        return std::vector<Item>(m_items.begin(), m_items.end());
    }
    bool accept = true;

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<Item> m_items;
};

class ControlSocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(application.open(0));
        ASSERT_TRUE(socket.Open(0, handOffs.Sink(), application.localPort()));
        ASSERT_NE(socket.GetControlPort(), 0);
    }

    // What a control application would send.
    void SendBytes(const std::vector<std::uint8_t>& bytes)
    {
        ASSERT_TRUE(application.sendTo(socket.GetControlPort(), bytes.data(), bytes.size()));
    }
    void SendText(const char16_t* text) { SendBytes(*CTavrelDatagram::Encode(text)); }

    std::string TakeText(std::uint32_t record)
    {
        std::optional<CTavrelControlRecord> taken = socket.TakeRecord(record);
        return taken ? utf8(CTavrelDatagram::PayloadText(taken->payload)) : "(none)";
    }

    // The next notification the application receives, as text.
    std::string ReceiveNotification()
    {
        std::vector<std::uint8_t> buffer(2048);
        net::UdpSocket::Received got = application.receive(buffer.data(), buffer.size(), 3s);
        if (got.status != net::UdpSocket::Status::Received)
            return "(nothing)";
        CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(buffer.data(), got.size);
        return utf8(CTavrelDatagram::PayloadText(decoded.payload));
    }

    net::UdpSocket application;
    HandOffs handOffs;
    CTavrelControlSocket socket;
};

TEST_F(ControlSocketTest, MessageIsHandedOverWithItsSenderAndTakenOnce)
{
    SendText(u"Initialize");
    ASSERT_TRUE(handOffs.WaitFor(1));
    HandOffs::Item item = handOffs.Items()[0];
    EXPECT_EQ(item.sender, net::LoopbackAddress);
    EXPECT_EQ(TakeText(item.record), "Initialize");
    EXPECT_EQ(TakeText(item.record), "(none)");
}

TEST_F(ControlSocketTest, ReceptionPausesAfterEachDatagram)
{
    for (const char16_t* text : {u"one", u"two", u"three"})
        SendText(text);
    ASSERT_TRUE(handOffs.WaitFor(3));
    std::vector<HandOffs::Item> items = handOffs.Items();
    EXPECT_EQ(TakeText(items[0].record), "one");
    EXPECT_EQ(TakeText(items[1].record), "two");
    EXPECT_EQ(TakeText(items[2].record), "three");
    EXPECT_GE(items[1].at - items[0].at, 95ms);
    EXPECT_GE(items[2].at - items[1].at, 95ms);
}

TEST_F(ControlSocketTest, BadDatagramsAreDroppedAndReceptionGoesOn)
{
    SendBytes(std::vector<std::uint8_t>(3000, 'E'));                    // longer than the buffer
    SendBytes({'X', 'Y', 'Z', 'W', 4, 0, 0, 0, 20, 0, 0, 0, 'a', 0, 0, 0}); // another tag
    SendBytes({'E', 'L'});                                              // too short for a tag
    std::vector<std::uint8_t> claimsMore = *CTavrelDatagram::Encode(u"Hi");
    claimsMore[4] = 0xFF; // payload length far beyond what is sent
    claimsMore[5] = 0xFF;
    SendBytes(claimsMore);
    SendText(u"after");
    ASSERT_TRUE(handOffs.WaitFor(2, 5s));
    std::vector<HandOffs::Item> items = handOffs.Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(TakeText(items[0].record), "Hi");
    EXPECT_EQ(TakeText(items[1].record), "after");
    EXPECT_TRUE(socket.IsReceiving());
}

TEST_F(ControlSocketTest, StopDatagramEndsReceptionButNotificationsStillGo)
{
    SendBytes(CTavrelDatagram::EncodeStop());
    Clock::time_point deadline = Clock::now() + 3s;
    while (socket.IsReceiving() && Clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(socket.IsReceiving());
    SendText(u"Initialize");
    EXPECT_FALSE(handOffs.WaitFor(1, 300ms));
    EXPECT_TRUE(socket.IsOpen());
    EXPECT_TRUE(socket.Send(u"OnShowClient"));
    EXPECT_EQ(ReceiveNotification(), "OnShowClient");
}

TEST_F(ControlSocketTest, NotificationsTravelAsProtocolDatagramsToTheNotifyPort)
{
    ASSERT_TRUE(socket.Send(u"OnShowClient"));
    std::vector<std::uint8_t> buffer(64);
    net::UdpSocket::Received got = application.receive(buffer.data(), buffer.size(), 3s);
    ASSERT_EQ(got.status, net::UdpSocket::Status::Received);
    EXPECT_EQ(got.size, 42u);
    buffer.resize(got.size);
    EXPECT_EQ(buffer, *CTavrelDatagram::Encode(u"OnShowClient"));
    // From the control port: one socket both ways.
    EXPECT_EQ(got.senderPort, socket.GetControlPort());
}

TEST_F(ControlSocketTest, NotificationTooLongForOneDatagramIsNotSentAndLogged)
{
    std::vector<std::u16string> lines;
    device::setDebugOutputObserver([&](device::WideView line) { lines.emplace_back(line); });
    CQoString longText(std::u16string(498, u'x').c_str());
    EXPECT_FALSE(socket.Send(longText));
    device::setDebugOutputObserver(nullptr);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(device::toUtf8(lines[0]).find("498 characters do not fit one datagram, not sent"), std::string::npos);

    // The longest notification arrives whole in a control application's 1012-byte buffer.
    CQoString fits(std::u16string(497, u'y').c_str());
    EXPECT_TRUE(socket.Send(fits));
    std::vector<std::uint8_t> buffer(1012);
    net::UdpSocket::Received got = application.receive(buffer.data(), buffer.size(), 3s);
    ASSERT_EQ(got.status, net::UdpSocket::Status::Received);
    EXPECT_EQ(utf8(CTavrelDatagram::PayloadText(CTavrelDatagram::Decode(buffer.data(), got.size).payload)),
              std::string(497, 'y'));
}

TEST_F(ControlSocketTest, APeersFullPayloadAreaIsTakenInAndOnlyLongerDatagramsAreDropped)
{
    // A control application that fills its 1000-byte payload area: 499 characters, 1016 bytes.
    auto full = [](std::size_t characters, char16_t fill) {
        const std::uint32_t payload = std::uint32_t((characters + 1) * 2);
        std::vector<std::uint8_t> out = {'E', 'L', 'I', 'F'};
        for (std::uint32_t value : {payload, payload + 16})
            for (int shift = 0; shift < 32; shift += 8)
                out.push_back(std::uint8_t(value >> shift));
        for (std::size_t i = 0; i < characters; ++i)
            out.insert(out.end(), {std::uint8_t(fill), 0});
        out.insert(out.end(), 6, 0);
        return out;
    };
    ASSERT_EQ(full(499, u'a').size(), 1016u);
    SendBytes(full(499, u'a'));
    SendBytes(full(500, u'b')); // 1018 bytes: more than any peer may send
    SendText(u"after");
    ASSERT_TRUE(handOffs.WaitFor(2, 5s));
    std::vector<HandOffs::Item> items = handOffs.Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(TakeText(items[0].record), std::string(499, 'a'));
    EXPECT_EQ(TakeText(items[1].record), "after");
}

TEST_F(ControlSocketTest, RefusedHandOffDropsTheRecord)
{
    handOffs.accept = false;
    SendText(u"Initialize");
    SendText(u"Initialize");
    // By the second hand-off the first refused record is gone.
    ASSERT_TRUE(handOffs.WaitFor(2));
    EXPECT_EQ(TakeText(handOffs.Items()[0].record), "(none)");
}

TEST_F(ControlSocketTest, CloseIsPromptAndEndsEverything)
{
    std::uint16_t port = socket.GetControlPort();
    Clock::time_point started = Clock::now();
    EXPECT_TRUE(socket.Close());
    EXPECT_LT(Clock::now() - started, 1s);
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_FALSE(socket.IsReceiving());
    EXPECT_FALSE(socket.Send(u"OnShowClient"));
    EXPECT_TRUE(socket.Close());
    // The port is free again, and the socket can open anew.
    net::UdpSocket other;
    EXPECT_TRUE(other.open(port));
    other.close();
    EXPECT_TRUE(socket.Open(port, handOffs.Sink(), application.localPort()));
    SendText(u"again");
    ASSERT_TRUE(handOffs.WaitFor(1));
    EXPECT_EQ(TakeText(handOffs.Items()[0].record), "again");
}

TEST_F(ControlSocketTest, CloseDuringThePauseDoesNotWaitItOut)
{
    SendText(u"one");
    ASSERT_TRUE(handOffs.WaitFor(1));
    Clock::time_point started = Clock::now();
    EXPECT_TRUE(socket.Close());
    EXPECT_LT(Clock::now() - started, 90ms);
}

TEST(ControlSocketOpenTest, PortInUseFailsAndOpenTwiceSucceeds)
{
    net::UdpSocket holder;
    ASSERT_TRUE(holder.open(0));
    CTavrelControlSocket socket;
    EXPECT_FALSE(socket.Open(holder.localPort(), CTavrelControlSocket::HandOff{}));
    EXPECT_FALSE(socket.IsOpen());
    EXPECT_FALSE(socket.Send(u"OnShowClient"));

    ASSERT_TRUE(socket.Open(0, CTavrelControlSocket::HandOff{}));
    std::uint16_t port = socket.GetControlPort();
    EXPECT_TRUE(socket.Open(0, CTavrelControlSocket::HandOff{}));
    EXPECT_EQ(socket.GetControlPort(), port);
}

TEST(ControlSocketWindowTest, DatagramArrivesAsWindowMessageOnTheUserInterfaceThread)
{
    ui::Desktop desktop(std::make_unique<ui::HeadlessBackend>());
    ui::Window frame;
    ASSERT_TRUE(frame.createTopLevel(gfx::Rect{0, 26, 240, 320}, u"Tavrel"));
    CTavrelControlSocket socket;
    std::vector<std::string> received;
    std::vector<ui::LParam> senders;
    frame.setMessageHook([&](std::uint32_t message, ui::WParam wParam, ui::LParam lParam) -> std::optional<ui::LResult> {
        if (message != CTavrelControlSocket::WM_CONTROL_DATAGRAM)
            return std::nullopt;
        EXPECT_TRUE(desktop.isUserInterfaceThread());
        if (auto record = socket.TakeRecord(std::uint32_t(wParam)))
            received.push_back(utf8(CTavrelDatagram::PayloadText(record->payload)));
        senders.push_back(lParam);
        return 0;
    });
    ASSERT_TRUE(socket.Open(0, frame.handle()));

    net::UdpSocket application;
    ASSERT_TRUE(application.open(0));
    std::vector<std::uint8_t> datagram = *CTavrelDatagram::Encode(u"SetCurrentView:\"Daily\"");
    ASSERT_TRUE(application.sendTo(socket.GetControlPort(), datagram.data(), datagram.size()));
    Clock::time_point deadline = Clock::now() + 3s;
    while (received.empty() && Clock::now() < deadline)
        desktop.runFor(20ms);
    ASSERT_EQ(received, std::vector<std::string>{"SetCurrentView:\"Daily\""});
    EXPECT_EQ(senders[0], ui::LParam(net::LoopbackAddress));

    // A destroyed window swallows the message; its record goes with the socket.
    frame.destroy();
    ASSERT_TRUE(application.sendTo(socket.GetControlPort(), datagram.data(), datagram.size()));
    desktop.runFor(300ms);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_TRUE(socket.Close());
}

} // namespace
