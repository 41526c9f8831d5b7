// The control channel.
//
// In the process: decoding one datagram and its text, and dispatching AddActivity/UpdateActivity
// on a registered calendar (parse, lock, category change, reply).
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
