// The control channel.
//
// In the process: decoding one datagram and its text, and dispatching AddActivity/UpdateActivity
// on a registered calendar (parse, lock, category change, reply).
//
// Activity commands at scale: a registered calendar of 1,000 to 10,000 activities (one every four
// hours over four categories), shown by month; each iteration is one command — adding a new
// activity, moving one to another time and category, deleting one, in turn — together with the
// reader pass it asks for (the rebuild of the window collection for the shown month), which is the
// whole processor time a command costs the calendar. The cost must not grow with the number of
// activities: under 1 ms of CPU per command at 10,000. Run for the calendar itself and for
// "<Combined>".
//
// Through the running program (`tavrel --headless` on free ports of a scratch device, found in
// $TAVREL_BIN or next to this program):
// - the round trip of "Initialize" to "OnInitialized:", each sent after the receiver's 100 ms pause
//   has run out, so it measures the path, not the pause;
// - the rate of commands sent back to back, which the receiver's pause limits to about ten a
//   second;
// - the processor time the idle program spends in 10 s (the reader's wait loop, the view's timers,
//   the control socket's receive thread), from the host's accounting of each of its threads.

#include "control/TavrelControlDispatcher.h"
#include "control/TavrelControlHost.h"
#include "control/TavrelNotifier.h"
#include "data/TavrelCalendarData.h"
#include "data/TavrelMainWindow.h"
#include "data/TavrelReader.h"
#include "data/TavrelReaderView.h"
#include "data/TavrelRegisteredCalendar.h"
#include "data/TavrelSettings.h"
#include "data/TavrelSleeper.h"
#include "rules/TavrelRules.h"
#include "control/TavrelControlTarget.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/RunningProgram.h"
#include "platform/net/UdpSocket.h"
#include "protocol/TavrelDatagram.h"
#include "shell/TavrelApp.h"

#include "BackgroundProgram.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::filesystem::path scratchFolder(const char* name)
{
    std::string pattern = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    return pattern;
}

// --- In the process ------------------------------------------------------------------------------

void BM_DecodeDatagram(benchmark::State& state)
{
    const CTavrelDatagram::Bytes datagram = *CTavrelDatagram::Encode(
        u"AddActivity:\"A-000123\";\"Work\";\"Weekly planning meeting\";\"3/4/2026 9:00:00 AM\";"
        u"\"3/4/2026 10:00:00 AM\";\"meeting.gif\";\"1\";\"0\"");
    for (auto _ : state) {
        CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(datagram.data(), datagram.size());
        CQoString text = CTavrelDatagram::PayloadText(decoded.payload);
        benchmark::DoNotOptimize(text.GetLength());
    }
}
BENCHMARK(BM_DecodeDatagram);

class QuietHost : public CTavrelControlHost {
public:
    int GetViewMode() override { return 2; }
    device::OleDateTime GetViewDate() override { return device::OleDateTime(2026, 3, 4, 0, 0, 0); }
    void SetViewMode(int) override {}
    void SetViewDate(int, int, int) override {}
    void ShowCalendarWindow() override {}
    void RebuildCommandBar() override {}
    void PostQuit() override {}
    void ShowMessageBox(const CQoString&) override {}
};

class CountingNotifier : public CTavrelNotifier {
public:
    bool Send(const CQoString&) override
    {
        ++sent;
        return true;
    }
    long sent = 0;
};

void BM_DispatchAddAndUpdateActivity(benchmark::State& state)
{
    const std::filesystem::path root = scratchFolder("tavrel-bench-control");
    device::DeviceFolder::select(root);
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
    {
        CTavrelApp app;
        QuietHost host;
        CountingNotifier notifier;
        CTavrelControlDispatcher dispatcher(app, host, notifier);
        dispatcher.Dispatch(u"RegisterCalendar:\"Projects\"");
        // A calendar of realistic size: 200 activities over four categories.
        for (int i = 0; i < 200; ++i) {
            CQoString text;
            text.Format(u"AddActivity:\"B%d\";\"Category %d\";\"Activity %d\";\"3/%d/2026 %d:00:00 AM\";"
                        u"\"3/%d/2026 11:00:00 AM\";\"\";\"1\";\"1\"",
                        i, i % 4, i, 1 + i % 28, 1 + i % 10, 1 + i % 28);
            dispatcher.Dispatch(text);
        }
        bool moved = false;
        for (auto _ : state) {
            dispatcher.Dispatch(moved ? u"UpdateActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";"
                                        u"\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\""
                                      : u"AddActivity:\"A1\";\"Home\";\"Meeting\";\"3/5/2026 9:00:00 AM\";"
                                        u"\"3/5/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
            moved = !moved;
        }
        state.counters["replies"] = benchmark::Counter(double(notifier.sent), benchmark::Counter::kIsRate);
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}
BENCHMARK(BM_DispatchAddAndUpdateActivity);

// --- Activity commands at scale ------------------------------------------------------------------

// What the commands act on: calendar data shared with a reader, as the application shares it.
class BenchTarget : public CTavrelControlTarget {
public:
    explicit BenchTarget(std::shared_ptr<CTavrelCalendarData> data) : m_data(std::move(data)) {}
    CTavrelCalendarData& GetCalendarData() override { return *m_data; }
    bool SetCurrentCalendar(const CQoString& name) override
    {
        std::lock_guard calendars(m_data->GetCalendarListLock());
        if (CTavrelCalendarData::IsCombined(name)) {
            m_data->SetCurrentCalendarName(u"<Combined>");
            return true;
        }
        CTavrelCalendar* calendar = m_data->FindCalendar(name);
        if (!calendar)
            return false;
        m_data->SetCurrentCalendarName(calendar->GetName());
        return true;
    }
    CTavrelRegisteredCalendar& AddRegisteredCalendar(const CQoString& name) override
    {
        return static_cast<CTavrelRegisteredCalendar&>(m_data->AddRegisteredCalendar(CTavrelRegisteredCalendar(name)));
    }
    pim::Application* GetOutlook() const override { return nullptr; }
    void RequestRefresh() override { m_data->RequestRefresh(); }

private:
    std::shared_ptr<CTavrelCalendarData> m_data;
};

// The view shows March 2026 by month; posts are counted.
class MonthFrame : public CTavrelMainWindow, public CTavrelReaderView {
public:
    CTavrelReaderView* GetReaderView() override { return this; }
    void RefreshCalendarChecks() override {}
    void ReloadViewEvents() override {}
    device::OleDateTime GetCurrentDate() override { return device::OleDateTime(2026, 3, 4, 0, 0, 0); }
    int GetViewMode() override { return Monthly; }
    void PostRefreshEvents() override { ++posts; }
    int posts = 0;
};

class NoSleep : public CTavrelSleeper {
public:
    void Sleep(std::chrono::milliseconds) override {}
};

// "3/4/2026 9:00:00 AM" for the hour `hours` after 1 January 2025 0:00.
CQoString ActivityTime(int hours)
{
    const device::OleDateTime time = device::OleDateTime(2025, 1, 1, 0, 0, 0) + device::OleDateTimeSpan(hours / 24, hours % 24, 0, 0);
    return CQoString(time.Format().c_str());
}

CQoString AddActivityText(int id, int category, int hours)
{
    CQoString text;
    text.Format(u"AddActivity:\"A%d\";\"Category %d\";\"Activity %d\";\"%s\";\"%s\";\"\";\"1\";\"1\"", id, category, id,
                ActivityTime(hours).GetString(), ActivityTime(hours + 1).GetString());
    return text;
}

void BM_ActivityCommandWithItsReaderPass(benchmark::State& state)
{
    const int activities = int(state.range(0));
    const bool combined = state.range(1) != 0;
    const std::filesystem::path root = scratchFolder("tavrel-bench-activities");
    device::DeviceFolder::select(root);
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
    {
        auto data = std::make_shared<CTavrelCalendarData>();
        auto settings = std::make_shared<CTavrelSettings>();
        auto rules = std::make_shared<CTavrelRules>();
        rules->Load(CTavrelRules::DefaultPath);
        BenchTarget target(data);
        QuietHost host;
        CountingNotifier notifier;
        CTavrelControlDispatcher dispatcher(target, host, notifier);
        dispatcher.Dispatch(u"RegisterCalendar:\"Projects\"");
        // One every four hours from 1 January 2025, over four categories: about 180 in March 2026.
        for (int i = 0; i < activities; ++i)
            dispatcher.Dispatch(AddActivityText(i, i % 4, i * 4));
        if (combined)
            target.SetCurrentCalendar(u"<Combined>");
        MonthFrame frame;
        data->GetMainWindowLink().Set(&frame);
        CTavrelReader reader({data, settings, rules, nullptr}, std::make_shared<NoSleep>());
        reader.RunPass();

        int step = 0;
        int next = activities;
        for (auto _ : state) {
            const int target = (step * 7919) % activities; // spread over the calendar
            switch (step % 3) {
            case 0: // a new activity in the shown month
                dispatcher.Dispatch(AddActivityText(next++, step % 4, 10'200 + step % 500));
                break;
            case 1: { // one moved to another time and category
                CQoString text;
                text.Format(u"UpdateActivity:\"A%d\";\"Category %d\";\"Moved %d\";\"%s\";\"%s\";\"\";\"1\";\"0\"", target,
                            (step + 1) % 4, target, ActivityTime(10'300 + step % 400).GetString(),
                            ActivityTime(10'302 + step % 400).GetString());
                dispatcher.Dispatch(text);
                break;
            }
            default: { // one deleted
                CQoString text;
                text.Format(u"DeleteActivity:\"A%d\"", target);
                dispatcher.Dispatch(text);
                break;
            }
            }
            ++step;
            if (reader.RunPass() != CTavrelReader::PassResult::Posted)
                state.SkipWithError("the pass did not post");
        }
        state.counters["activities"] = double(activities);
        state.counters["shown"] = double(data->GetWindowEvents().GetCount());
        state.counters["replies"] = double(notifier.sent);
        data->GetMainWindowLink().Set(nullptr);
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}
BENCHMARK(BM_ActivityCommandWithItsReaderPass)
    ->ArgsProduct({{1'000, 10'000}, {0, 1}})
    ->ArgNames({"activities", "combined"})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

// --- Through the running program -----------------------------------------------------------------

std::uint16_t freePort()
{
    net::UdpSocket probe;
    return probe.open(0) ? probe.localPort() : 0;
}

// The calendar on a scratch device, and a control application's socket on its notify port.
class RunningCalendar {
public:
    RunningCalendar() : m_root(scratchFolder("tavrel-bench-program"))
    {
        if (!m_peer.open(0))
            return;
        m_controlPort = freePort();
        m_program = std::make_unique<testing_support::BackgroundProgram>(
            "tavrel",
            std::vector<std::string>{"--device", m_root.string(), "--headless", "--control-port",
                                     std::to_string(m_controlPort), "--notify-port", std::to_string(m_peer.localPort())},
            std::vector<std::string>{"TAVREL_CLOCK=2026-03-04T08:00:00"});
        m_ready = m_program->started() && WaitFor(u"OnInitialized:", 60s);
    }
    ~RunningCalendar()
    {
        if (m_program && m_program->running()) {
            Send(u"CloseCalendar");
            m_program->waitFor(5s);
        }
        m_program.reset();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    bool ready() const { return m_ready; }
    int pid() const { return m_program ? m_program->pid() : 0; }

    bool Send(const char16_t* text)
    {
        const CTavrelDatagram::Bytes datagram = *CTavrelDatagram::Encode(text);
        return m_peer.sendTo(m_controlPort, datagram.data(), datagram.size());
    }

    // Waits for a notification that starts with `prefix`; the others are passed over.
    bool WaitFor(const char16_t* prefix, std::chrono::milliseconds timeout)
    {
        const Clock::time_point deadline = Clock::now() + timeout;
        std::vector<std::uint8_t> buffer(CTavrelDatagram::ReceiveBufferSize);
        for (;;) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return false;
            net::UdpSocket::Received got = m_peer.receive(buffer.data(), buffer.size(), left);
            if (got.status == net::UdpSocket::Status::TimedOut)
                return false;
            if (got.status != net::UdpSocket::Status::Received)
                continue;
            CTavrelDatagram::Decoded decoded = CTavrelDatagram::Decode(buffer.data(), got.size);
            if (CTavrelDatagram::PayloadText(decoded.payload).StartsWith(prefix))
                return true;
        }
    }

private:
    std::filesystem::path m_root;
    net::UdpSocket m_peer;
    std::uint16_t m_controlPort = 0;
    std::unique_ptr<testing_support::BackgroundProgram> m_program;
    bool m_ready = false;
};

void BM_InitializeRoundTrip(benchmark::State& state)
{
    RunningCalendar calendar;
    if (!calendar.ready()) {
        state.SkipWithError("the calendar did not start (is tavrel built?)");
        return;
    }
    for (auto _ : state) {
        // Past the receiver's pause after the previous datagram.
        std::this_thread::sleep_for(120ms);
        const Clock::time_point sent = Clock::now();
        calendar.Send(u"Initialize");
        if (!calendar.WaitFor(u"OnInitialized:", 5s)) {
            state.SkipWithError("no answer to Initialize");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - sent).count());
    }
}
BENCHMARK(BM_InitializeRoundTrip)->UseManualTime()->Iterations(30)->Unit(benchmark::kMicrosecond);

void BM_CommandRate(benchmark::State& state)
{
    RunningCalendar calendar;
    if (!calendar.ready()) {
        state.SkipWithError("the calendar did not start (is tavrel built?)");
        return;
    }
    constexpr int commands = 30;
    std::this_thread::sleep_for(150ms);
    for (auto _ : state) {
        for (int i = 0; i < commands; ++i)
            calendar.Send(u"Initialize");
        for (int i = 0; i < commands; ++i) {
            if (!calendar.WaitFor(u"OnInitialized:", 10s)) {
                state.SkipWithError("an answer went missing");
                return;
            }
        }
    }
    state.counters["commands"] = benchmark::Counter(double(commands) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CommandRate)->Iterations(1)->Repetitions(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// The processor time all threads of a process have used, in nanoseconds: the first field of each
// thread's /proc/PID/task/TID/schedstat (finer than the clock ticks of /proc/PID/stat).
long long processRunNanoseconds(int pid)
{
    long long total = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream in(task.path() / "schedstat");
        long long ran = 0;
        if (in >> ran)
            total += ran;
    }
    return total;
}

void BM_IdleProgramCpu(benchmark::State& state)
{
    RunningCalendar calendar;
    if (!calendar.ready()) {
        state.SkipWithError("the calendar did not start (is tavrel built?)");
        return;
    }
    // Let start-up and the first passes settle.
    std::this_thread::sleep_for(3s);
    double cpuSeconds = 0;
    for (auto _ : state) {
        const long long before = processRunNanoseconds(calendar.pid());
        std::this_thread::sleep_for(10s);
        const long long after = processRunNanoseconds(calendar.pid());
        cpuSeconds = double(after - before) / 1e9;
    }
    state.counters["cpu_ms_in_10s"] = cpuSeconds * 1000;
    state.counters["cpu_percent"] = cpuSeconds / 10.0 * 100;
}
BENCHMARK(BM_IdleProgramCpu)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
