// Datagrams that arrive while a command's message box is open: the box's nested message loop
// delivers them, and they wait for the command to end instead of running inside the box. A flood
// of unknown commands used to open a box inside a box for each one, until the stack ran out.

#include "control/TavrelControl.h"

#include "ControlTestSupport.h"

#include "platform/net/UdpSocket.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "protocol/TavrelDatagram.h"

#include <algorithm>
#include <chrono>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A frame whose message boxes stay open for a while, running the nested loop a box runs.
class BoxHost : public control_test::StandInHost {
public:
    using StandInHost::StandInHost;

    void ShowMessageBox(const CQoString& text) override
    {
        ++depth;
        deepest = std::max(deepest, depth);
        boxes.push_back(control_test::utf8(text));
        waitingWhenShown.push_back(control ? control->GetWaitingCount() : 0);
        ui::Desktop::current().runFor(250ms);
        --depth;
    }

    CTavrelControl* control = nullptr;
    int depth = 0;
    int deepest = 0;
    std::vector<std::size_t> waitingWhenShown;
};

class ControlNesting : public control_test::ControlFixture {
protected:
    ControlNesting() : boxHost(*app, notifier) { app->SetMainWindow(&boxHost); }
    ~ControlNesting() override { app->SetMainWindow(host.get()); }

    ui::Desktop desktop{std::make_unique<ui::HeadlessBackend>()};
    BoxHost boxHost;
};

TEST_F(ControlNesting, DatagramsArrivingWhileAMessageBoxIsOpenWaitTheirTurn)
{
    ui::Window frame;
    ASSERT_TRUE(frame.createTopLevel(gfx::Rect{0, 26, 240, 320}, u"Tavrel"));
    CTavrelControl control(*app, boxHost, &notifier);
    boxHost.control = &control;
    frame.setMessageHook([&](std::uint32_t message, ui::WParam wParam, ui::LParam lParam) -> std::optional<ui::LResult> {
        if (message != CTavrelControlSocket::WM_CONTROL_DATAGRAM)
            return std::nullopt;
        control.OnControlDatagram(wParam, lParam);
        return 0;
    });
    net::UdpSocket application;
    ASSERT_TRUE(application.open(0));
    ASSERT_TRUE(control.Open(frame.handle(), 0, application.localPort()));

    // Eight bad commands, then a good one: the receiver takes one every 100 ms, each box stays
    // open 250 ms, so the later ones arrive while earlier boxes are open.
    std::vector<std::string> expected;
    for (int i = 1; i <= 8; ++i) {
        const std::u16string text = u"Bogus " + std::u16string(1, char16_t(u'0' + i));
        expected.push_back("Unknown Control Message: 'Bogus " + std::to_string(i));
        const auto datagram = *CTavrelDatagram::Encode(text);
        ASSERT_TRUE(application.sendTo(control.GetSocket().GetControlPort(), datagram.data(), datagram.size()));
    }
    const auto registration = *CTavrelDatagram::Encode(u"RegisterCalendar:\"Projects\"");
    ASSERT_TRUE(application.sendTo(control.GetSocket().GetControlPort(), registration.data(), registration.size()));

    const Clock::time_point deadline = Clock::now() + 15s;
    auto registered = [&] {
        return std::find(notifier.sent.begin(), notifier.sent.end(), "OnCalendarRegistered:\"Projects\"")
            != notifier.sent.end();
    };
    while (!registered() && Clock::now() < deadline)
        desktop.runFor(20ms);

    EXPECT_TRUE(registered());
    EXPECT_EQ(boxHost.boxes, expected) << "one box for each, in arrival order";
    EXPECT_EQ(boxHost.deepest, 1) << "no box opened inside another";
    EXPECT_GT(*std::max_element(boxHost.waitingWhenShown.begin(), boxHost.waitingWhenShown.end()), 0u)
        << "some datagrams did arrive while a box was open";
    EXPECT_EQ(control.GetWaitingCount(), 0u);
    EXPECT_TRUE(control.Close());
}

} // namespace
