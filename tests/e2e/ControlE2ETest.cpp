// The calendar driven by a control application, end to end: `tavrel --headless` runs on a
// throw-away device with its clock pinned, on free ports (never the real ones), and the test talks
// to it over UDP as a control application does — registering a calendar, adding, updating, moving
// and deleting activities, switching calendar, view and date — checking every reply and
// notification, the message boxes it reports on standard error, and what the screen then shows.

#include "platform/device/WideText.h"
#include "platform/gfx/ImageDecoder.h"
#include "platform/net/UdpSocket.h"

#include "BackgroundProgram.h"
#include "ControlDatagram.h"
#include "TempDevice.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Strings = std::vector<std::string>;
using testing_support::BackgroundProgram;

constexpr const char* PinnedClock = "TAVREL_CLOCK=2026-03-04T08:00:00";
constexpr std::size_t ReceiveBufferSize = 1012;

// The text of a notification, after checking its layout; a description of what is wrong instead.
std::string notificationText(const std::vector<std::uint8_t>& bytes, std::size_t size)
{
    if (size < 16 || std::string(bytes.begin(), bytes.begin() + 4) != "ELIF")
        return "(not a message datagram)";
    auto field = [&](std::size_t at) {
        return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 | std::uint32_t(bytes[at + 2]) << 16 |
               std::uint32_t(bytes[at + 3]) << 24;
    };
    const std::uint32_t payload = field(4);
    if (field(8) != payload + 16 || size != payload + 16 || payload % 2 != 0 || payload < 2)
        return "(bad lengths)";
    std::u16string text;
    for (std::size_t at = 12; at + 2 < 12 + payload; at += 2)
        text.push_back(char16_t(bytes[at] | bytes[at + 1] << 8));
    for (std::size_t at = 10 + payload; at < size; ++at)
        if (bytes[at] != 0)
            return "(no terminator or trailer)";
    return device::toUtf8(text);
}

std::uint16_t freePort()
{
    net::UdpSocket probe;
    EXPECT_TRUE(probe.open(0));
    return probe.localPort();
}

// The calendar program and a control application's socket on its notify port.
class CalendarSession {
public:
    explicit CalendarSession(const testing_support::TempDevice& device, std::vector<std::string> extraArgs = {},
                             bool listen = true)
    {
        if (listen) {
            EXPECT_TRUE(m_peer.open(0));
        }
        m_notifyPort = listen ? m_peer.localPort() : freePort();
        m_controlPort = freePort();
        std::vector<std::string> args = {"--device", device.root().string(), "--headless", "--control-port",
                                         std::to_string(m_controlPort), "--notify-port", std::to_string(m_notifyPort)};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        m_program = std::make_unique<BackgroundProgram>("tavrel", args, std::vector<std::string>{PinnedClock});
    }

    BackgroundProgram& program() { return *m_program; }
    std::uint16_t controlPort() const { return m_controlPort; }
    std::uint16_t notifyPort() const { return m_notifyPort; }

    void Send(const std::u16string& text) { SendBytes(testing_support::controlDatagram(text)); }
    void SendBytes(const std::vector<std::uint8_t>& bytes)
    {
        ASSERT_TRUE(m_peer.sendTo(m_controlPort, bytes.data(), bytes.size()));
    }

    // The next `count` notifications (fewer when they do not come in time).
    Strings Receive(std::size_t count, std::chrono::milliseconds timeout = 20s)
    {
        Strings got;
        const Clock::time_point deadline = Clock::now() + timeout;
        std::vector<std::uint8_t> buffer(ReceiveBufferSize);
        while (got.size() < count) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                break;
            net::UdpSocket::Received arrived = m_peer.receive(buffer.data(), buffer.size(), left);
            if (arrived.status != net::UdpSocket::Status::Received)
                break;
            got.push_back(notificationText(buffer, arrived.size));
        }
        return got;
    }

    // Sends the command and returns exactly the notifications it brought: the command is followed
    // by "Initialize", whose answer closes the list (commands run in arrival order, and their
    // notifications are sent while they run).
    Strings Command(const std::u16string& text)
    {
        Send(text);
        Send(u"Initialize");
        Strings got;
        for (;;) {
            Strings next = Receive(1);
            if (next.empty()) {
                got.push_back("(no answer to Initialize)");
                return got;
            }
            if (next[0].rfind("OnInitialized:", 0) == 0)
                return got;
            got.push_back(next[0]);
        }
    }

private:
    net::UdpSocket m_peer;
    std::uint16_t m_notifyPort = 0;
    std::uint16_t m_controlPort = 0;
    std::unique_ptr<BackgroundProgram> m_program;
};

TEST(ControlE2ETest, ControlApplicationDrivesTheCalendarAndHearsEveryChange)
{
    testing_support::TempDevice device;
    CalendarSession session(device);
    ASSERT_TRUE(session.program().started());
    // The frame announces itself as soon as it exists.
    ASSERT_EQ(session.Receive(1, 60s), Strings{"OnInitialized:\"<Personal>\";\"Monthly\";\"3/4/2026\""})
        << session.program().err();

    session.Send(u"Initialize");
    EXPECT_EQ(session.Receive(1), Strings{"OnInitialized:\"<Personal>\";\"Monthly\";\"3/4/2026\""});

    EXPECT_EQ(session.Command(u"RegisterCalendar:\"Projects\""),
              (Strings{"OnCalendarChanged:\"Projects\"", "OnCalendarRegistered:\"Projects\""}));
    EXPECT_EQ(session.Command(u"RegisterCalendar:\"projects\""), Strings{});
    EXPECT_EQ(session.Command(u"RegisterFactory:\"Task,Call\""), Strings{"OnFactoryRegistered:\"Task,Call\""});

    EXPECT_EQ(session.Command(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"0\""),
              Strings{"OnActivityAdded:\"A1\""});
    // A second activity at the same start is kept.
    EXPECT_EQ(session.Command(u"AddActivity:\"A2\";\"Work\";\"Call Bob\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 9:30:00 AM\";\"\";\"1\";\"0\""),
              Strings{"OnActivityAdded:\"A2\""});
    EXPECT_EQ(session.Command(u"AddActivity:\"A3\";\"Work\";\"Review\";\"3/5/2026 2:00:00 PM\";\"3/5/2026 3:00:00 PM\";\"\";\"1\";\"0\""),
              Strings{"OnActivityAdded:\"A3\""});
    // Update in place, then move to another category.
    EXPECT_EQ(session.Command(u"UpdateActivity:\"A3\";\"Work\";\"Review %22v2%22\";\"3/5/2026 3:00:00 PM\";\"3/5/2026 4:00:00 PM\";\"\";\"1\";\"0\""),
              Strings{"OnActivityUpdated:\"A3\""});
    EXPECT_EQ(session.Command(u"UpdateActivity:\"A2\";\"Phone\";\"Call Bob\";\"3/4/2026 11:00:00 AM\";\"3/4/2026 11:30:00 AM\";\"\";\"1\";\"0\""),
              Strings{"OnActivityUpdated:\"A2\""});
    // AddActivity of an existing ID in its category is an update.
    EXPECT_EQ(session.Command(u"AddActivity:\"A2\";\"Phone\";\"Call Bob\";\"3/4/2026 11:00:00 AM\";\"3/4/2026 11:45:00 AM\";\"\";\"1\";\"0\""),
              Strings{"OnActivityUpdated:\"A2\""});
    EXPECT_EQ(session.Command(u"DeleteActivity:\"A2\""), Strings{"OnActivityDeleted:\"A2\""});
    EXPECT_EQ(session.Command(u"DeleteActivity:\"A2\""), Strings{});
    EXPECT_EQ(session.Command(u"UpdateActivity:\"Z9\";\"Work\";\"Nobody\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"0\""),
              Strings{});

    // Bad input: told to the user, nothing answered.
    EXPECT_EQ(session.Command(u"AddActivity:\"B1\";\"Work\";\"Bad\";\"never\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"0\""), Strings{});
    EXPECT_EQ(session.Command(u"AddActivity:\"B1\";\"Work\";\"Bad\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\""), Strings{});
    EXPECT_EQ(session.Command(u"Frobnicate:\"x\""), Strings{});
    // Terminal escape sequences in a datagram reach standard error only as visible escapes.
    EXPECT_EQ(session.Command(u"Bogus\x1B]0;owned\x07\x1B[2J\u009B1m"), Strings{});
    session.SendBytes(std::vector<std::uint8_t>(2000, 'E')); // longer than the receive buffer: dropped
    session.SendBytes({'E', 'L', 'I', 'F', 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 'I', 0});

    // Calendar, view and date.
    EXPECT_EQ(session.Command(u"SetCurrentCalendar:\"<combined>\""), Strings{"OnCalendarChanged:\"<Combined>\""});
    EXPECT_EQ(session.Command(u"SetCurrentView:\"weekly\""), Strings{"OnViewChanged:Weekly"});
    EXPECT_EQ(session.Command(u"SetCurrentView:\"Weekly\""), Strings{});
    EXPECT_EQ(session.Command(u"SetCurrentDate:\"3/5/2026\""), Strings{"OnDateChanged:\"3/5/2026\""});
    EXPECT_EQ(session.Command(u"showcalendar:\"projects\";\"Daily\";\"3/4/2026\""),
              (Strings{"OnCalendarChanged:\"Projects\"", "OnViewChanged:Daily", "OnDateChanged:\"3/4/2026\""}));
    EXPECT_EQ(session.Command(u"ShowCalendar:\"\";\"Monthly\""), (Strings{"OnViewChanged:Monthly", "OnDateChanged:\"3/4/2026\""}));
    session.Send(u"Initialize");
    EXPECT_EQ(session.Receive(1), Strings{"OnInitialized:\"Projects\";\"Monthly\";\"3/4/2026\""});

    EXPECT_EQ(session.Command(u"DeleteAllActivities"), Strings{"OnAllActivitiesDeleted"});
    EXPECT_EQ(session.Command(u"Uninitialize"), Strings{});

    session.Send(u"CloseCalendar");
    EXPECT_EQ(session.Receive(1), Strings{"OnCalendarClose"});
    EXPECT_EQ(session.program().waitFor(20s), std::optional<int>(0));

    const std::string err = session.program().err();
    for (const char* line : {"message-box: Tavrel: Error adding external activity 'Bad' - Invalid Start Time: never",
                             "message-box: Tavrel: Unknown Control Message: 'Frobnicate:\"x\"",
                             "message-box: Tavrel: Unknown Control Message: 'Bogus\\x1B]0;owned\\x07\\x1B[2J\\u009B1m"}) {
        EXPECT_NE(err.find(line), std::string::npos) << line << "\n--- standard error:\n" << err;
    }
    EXPECT_EQ(err.find('\x1B'), std::string::npos) << "no escape character reaches standard error";
}

TEST(ControlE2ETest, StopEndsReceptionWhileTheProgramRunsOnAndTavrelctlTalksToIt)
{
    testing_support::TempDevice device;
    CalendarSession session(device, {}, false);
    ASSERT_TRUE(session.program().started());
    const std::vector<std::string> ports = {"--port", std::to_string(session.controlPort()), "--listen",
                                            std::to_string(session.notifyPort())};

    // Wait until it takes commands.
    std::string answer;
    for (int attempt = 0; attempt < 60 && answer.empty(); ++attempt) {
        std::vector<std::string> args = ports;
        args.insert(args.end(), {"--timeout", "1000", "send", "Initialize"});
        answer = testing_support::runProgram("tavrelctl", args).out;
    }
    EXPECT_EQ(answer, "OnInitialized:\"<Personal>\";\"Monthly\";\"3/4/2026\"\n") << session.program().err();

    std::vector<std::string> quoted = ports;
    quoted.insert(quoted.end(), {"--timeout", "1500", "send", "RegisterCalendar", "Team \"A\""});
    EXPECT_EQ(testing_support::runProgram("tavrelctl", quoted).out,
              "OnCalendarChanged:\"Team %22A%22\"\nOnCalendarRegistered:\"Team %22A%22\"\n");

    std::vector<std::string> stop = {"--port", std::to_string(session.controlPort()), "stop"};
    EXPECT_EQ(testing_support::runProgram("tavrelctl", stop).exitCode, 0);
    std::vector<std::string> after = ports;
    after.insert(after.end(), {"--timeout", "800", "send", "Initialize"});
    EXPECT_EQ(testing_support::runProgram("tavrelctl", after).out, "");
    EXPECT_TRUE(session.program().running());
}

TEST(ControlE2ETest, LongestCommandsAndNotificationsTravelThroughBothPrograms)
{
    testing_support::TempDevice device;
    CalendarSession session(device, {}, false);
    ASSERT_TRUE(session.program().started());
    auto tavrelctl = [&](const char* timeoutMs, const std::vector<std::string>& command) {
        std::vector<std::string> args = {"--port",    std::to_string(session.controlPort()),
                                         "--listen",  std::to_string(session.notifyPort()),
                                         "--timeout", timeoutMs};
        args.insert(args.end(), command.begin(), command.end());
        return testing_support::runProgram("tavrelctl", args);
    };
    std::string answer;
    for (int attempt = 0; attempt < 60 && answer.empty(); ++attempt)
        answer = tavrelctl("1000", {"send", "Initialize"}).out;
    ASSERT_FALSE(answer.empty()) << session.program().err();

    // The longest notification, 497 characters: "OnCalendarRegistered:" and a quoted name of 474.
    const std::string name(474, 'n');
    const std::string registered = "OnCalendarRegistered:\"" + name + "\"";
    ASSERT_EQ(registered.size(), 497u);
    testing_support::ToolRun run = tavrelctl("1500", {"send", "RegisterCalendar", name});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "OnCalendarChanged:\"" + name + "\"\n" + registered + "\n");
    // One character more and the calendar does not send that notification; the shorter one still goes.
    run = tavrelctl("1500", {"send", "RegisterCalendar", name + "m"});
    EXPECT_EQ(run.out, "OnCalendarChanged:\"" + name + "m\"\n");

    // The longest command, 497 characters: an activity whose long ID comes back in the answer,
    // which shows that the command arrived whole, its last argument included.
    const std::string head = "AddActivity:\"",
                      tail = "\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 "
                             "10:00:00 AM\";\"\";\"1\";\"0\"";
    const std::string id(497 - head.size() - tail.size(), 'i');
    const std::vector<std::string> add
        = {"send", "AddActivity", id, "Work", "Meeting", "3/4/2026 9:00:00 AM", "3/4/2026 10:00:00 AM", "", "1", "0"};
    run = tavrelctl("1500", add);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "OnActivityAdded:\"" + id + "\"\n");
    // One character more is refused before it is sent.
    std::vector<std::string> longer = add;
    longer[2] += "i";
    run = tavrelctl("800", longer);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("498 characters"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    // A control application that fills its whole 1000-byte payload area (499 characters, a
    // 1016-byte datagram) is heard as well.
    BackgroundProgram listener("tavrelctl",
                               {"--listen", std::to_string(session.notifyPort()), "--timeout", "3000", "listen"});
    std::this_thread::sleep_for(300ms);
    // Another activity at the same time with another name: the same one again would be refused.
    const std::string fullTail
        = "\";\"Work\";\"Review\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"0\"";
    std::u16string fullId(499 - head.size() - fullTail.size(), u'f');
    std::u16string fullCommand = u"AddActivity:\"" + fullId + device::fromUtf8(fullTail);
    ASSERT_EQ(testing_support::controlDatagram(fullCommand).size(), 1016u);
    net::UdpSocket peer;
    ASSERT_TRUE(peer.open(0));
    const std::vector<std::uint8_t> bytes = testing_support::controlDatagram(fullCommand);
    ASSERT_TRUE(peer.sendTo(session.controlPort(), bytes.data(), bytes.size()));
    EXPECT_EQ(listener.waitFor(10s), std::optional<int>(0));
    EXPECT_EQ(listener.out(), "OnActivityAdded:\"" + std::string(fullId.size(), 'f') + "\"\n");

    EXPECT_EQ(tavrelctl("1000", {"send", "CloseCalendar"}).out, "OnCalendarClose\n");
    EXPECT_EQ(session.program().waitFor(20s), std::optional<int>(0));
}

// --- What the screen shows -----------------------------------------------------------------------

// The view area of the 240 × 320 screen (the navigation bar with the running clock above it, the
// command bar below).
constexpr int ViewTop = 26;
constexpr int ViewBottom = 294;

struct Difference {
    int count = 0;
    int top = 1 << 30, bottom = -1, left = 1 << 30, right = -1;
};

Difference compareView(const gfx::Surface& a, const gfx::Surface& b)
{
    Difference d;
    for (int y = ViewTop; y < ViewBottom; ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            ++d.count;
            d.top = std::min(d.top, y);
            d.bottom = std::max(d.bottom, y);
            d.left = std::min(d.left, x);
            d.right = std::max(d.right, x);
        }
    }
    return d;
}

// Pixels within the rows [top, bottom] that are dark enough to be text.
int darkPixels(const gfx::Surface& surface, int top, int bottom)
{
    int count = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const gfx::Colour c = surface.pixel(x, y);
            if ((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF) < 200)
                ++count;
        }
    }
    return count;
}

bool waitForFile(const std::filesystem::path& file, std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!std::filesystem::exists(file)) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

TEST(ControlE2ETest, ScreenShowsTheActivitiesAndTheirCalendarInCombined)
{
    testing_support::TempDevice device;
    const std::filesystem::path shots = device.root() / "shots";
    std::filesystem::create_directories(shots);
    const char* names[] = {"empty", "projects", "combined", "monthly", "cleared"};
    // The script takes a snapshot every few seconds; the test sends each step's commands in the
    // window before its snapshot, and checks that their answers came before it was taken.
    const std::filesystem::path script = device.root() / "control.script";
    {
        std::ofstream out(script);
        for (const char* name : names)
            out << "wait 4000\nidle\nsnap " << (shots / (std::string(name) + ".png")).string() << "\n";
        out << "wait 60000\n";
    }
    CalendarSession session(device, {"--script", script.string()});
    ASSERT_TRUE(session.program().started());
    ASSERT_EQ(session.Receive(1, 60s).size(), 1u) << session.program().err();

    auto step = [&](const char* shot, const std::vector<std::u16string>& commands) {
        for (const std::u16string& command : commands)
            EXPECT_NE(session.Command(command), Strings{"(no answer to Initialize)"});
        EXPECT_FALSE(std::filesystem::exists(shots / (std::string(shot) + ".png")))
            << "the commands took longer than the script's pause before " << shot;
        EXPECT_TRUE(waitForFile(shots / (std::string(shot) + ".png"), 30s)) << session.program().err();
    };
    step("empty", {u"RegisterCalendar:\"Projects\"", u"ShowCalendar:\"Projects\";\"Daily\";\"3/4/2026\""});
    step("projects", {u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"0\"",
                      u"AddActivity:\"A2\";\"Work\";\"Review\";\"3/5/2026 2:00:00 PM\";\"3/5/2026 3:00:00 PM\";\"\";\"1\";\"0\""});
    step("combined", {u"SetCurrentCalendar:\"<Combined>\""});
    step("monthly", {u"ShowCalendar:\"Projects\";\"Monthly\";\"3/4/2026\""});
    step("cleared", {u"DeleteAllActivities"});
    session.Send(u"CloseCalendar");
    EXPECT_EQ(session.program().waitFor(20s), std::optional<int>(0));

    std::vector<gfx::Surface> screens;
    for (const char* name : names) {
        std::optional<gfx::Surface> screen = gfx::ImageDecoder::decodeFile(shots / (std::string(name) + ".png"));
        ASSERT_TRUE(screen) << name;
        ASSERT_EQ(screen->width(), 240);
        ASSERT_EQ(screen->height(), 320);
        screens.push_back(std::move(*screen));
    }
    const gfx::Surface &empty = screens[0], &projects = screens[1], &combined = screens[2], &monthly = screens[3],
                       &cleared = screens[4];

    // The day view of March 4 shows the activity as a box from nine o'clock: below the title and
    // the morning hours, within the view.
    const Difference added = compareView(empty, projects);
    ASSERT_GT(added.count, 100) << "no box for the activity";
    EXPECT_GT(added.top, ViewTop + 40);
    EXPECT_LT(added.bottom, ViewTop + 200);

    // In "<Combined>" the same box is named "Meeting (Projects)": the change lies in the box, and
    // its text is longer.
    const Difference renamed = compareView(projects, combined);
    ASSERT_GT(renamed.count, 20) << "the box did not change in <Combined>";
    EXPECT_GE(renamed.top, added.top);
    EXPECT_LE(renamed.bottom, added.bottom + 30);
    EXPECT_GT(darkPixels(combined, added.top, renamed.bottom), darkPixels(projects, added.top, renamed.bottom) + 30);

    // The month shows the activities of March 4 and 5 — in the Wednesday and Thursday columns of
    // the first week — and no longer once they are deleted.
    const Difference month = compareView(cleared, monthly);
    EXPECT_GT(month.count, 20) << "the month showed no activity";
    EXPECT_GE(month.left, 240 * 3 / 7 - 2);
    EXPECT_LE(month.right, 240 * 5 / 7 + 2);
    EXPECT_LT(month.bottom, ViewTop + 100);
}

TEST(ControlE2ETest, ControlModeStaysHiddenUntilShownAndSwitchesBackToTheClient)
{
    testing_support::TempDevice device;
    const std::filesystem::path hidden = device.root() / "hidden.png", shown = device.root() / "shown.png";
    const std::filesystem::path script = device.root() / "control-mode.script";
    {
        std::ofstream out(script);
        out << "idle\nsnap " << hidden.string() << "\nwait 4000\nidle\nsnap " << shown.string()
            << "\ncommand 32809\nwait 60000\n";
    }
    CalendarSession session(device, {"--script", script.string(), "tavrelcontrol"});
    ASSERT_TRUE(session.program().started());
    ASSERT_EQ(session.Receive(1, 60s).size(), 1u) << session.program().err();
    ASSERT_TRUE(waitForFile(hidden, 30s)) << session.program().err();

    EXPECT_EQ(session.Command(u"ShowCalendar:\"\";\"Weekly\""), (Strings{"OnViewChanged:Weekly", "OnDateChanged:\"3/4/2026\""}));
    EXPECT_FALSE(std::filesystem::exists(shown)) << "the command took longer than the script's pause";
    ASSERT_TRUE(waitForFile(shown, 30s));
    // The sixth tool button, "Switch to Varnow!", asks for the control application.
    EXPECT_EQ(session.Receive(1), Strings{"OnShowClient"});
    session.Send(u"CloseCalendar");
    EXPECT_EQ(session.Receive(1), Strings{"OnCalendarClose"});
    EXPECT_EQ(session.program().waitFor(20s), std::optional<int>(0));

    std::optional<gfx::Surface> before = gfx::ImageDecoder::decodeFile(hidden);
    std::optional<gfx::Surface> after = gfx::ImageDecoder::decodeFile(shown);
    ASSERT_TRUE(before && after);
    // Hidden, the frame drew nothing of the view; shown, the week fills the view area.
    EXPECT_GT(compareView(*before, *after).count, 240 * (ViewBottom - ViewTop) / 2);
}

// --- The day menu of a registered calendar ------------------------------------------------------

TEST(ControlE2ETest, TheDayMenusActivityKindsAskTheControlApplicationForActivitiesAtTheHeldHour)
{
    testing_support::TempDevice device;
    // The day view's hour rows fill y 66 to 294 on the screen, below the title (28 pixels) and the
    // day bar (12), 9.5 pixels each: y 290 lies in the last row (11 PM), y 202 in the 2 PM row.
    const std::filesystem::path script = device.root() / "kinds.script";
    std::ofstream(script) << "wait 3000\nidle\ncommand 32805\nidle\n"
                             "hold 120 290\nchoose New/Call\n"
                             "hold 120 202\nchoose New/Visit\n"
                             "wait 1000\nquit\n";
    CalendarSession session(device, {"--script", script.string()});
    ASSERT_TRUE(session.program().started());
    ASSERT_EQ(session.Receive(1, 60s).size(), 1u) << session.program().err();
    // Sent at once: the script's first pause leaves them time to arrive before the holds.
    session.Send(u"RegisterCalendar:\"Projects\"");
    session.Send(u"RegisterFactory:\"Call,Visit\"");

    // Everything the program says until it closes.
    Strings requests;
    for (Strings next = session.Receive(1, 60s); !next.empty() && next[0] != "OnCalendarClose";
         next = session.Receive(1, 60s))
        if (next[0].rfind("OnRequestAddActivity:", 0) == 0)
            requests.push_back(next[0]);
    EXPECT_EQ(requests,
              (Strings{"OnRequestAddActivity:\"3/4/2026 11:00:00 PM\";\"3/4/2026 11:30:00 PM\";\"Call\"",
                       "OnRequestAddActivity:\"3/4/2026 2:00:00 PM\";\"3/4/2026 3:00:00 PM\";\"Visit\""}))
        << session.program().err();
    EXPECT_EQ(session.program().waitFor(30s), std::optional<int>(0)) << session.program().err();
}

} // namespace
