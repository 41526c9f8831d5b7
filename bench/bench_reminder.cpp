// The reminder program's figures.
//
// Whole runs of tavrel-reminder, each a separate process on a scratch device whose store holds 200
// reminders (the figures a user feels when the scheduler starts it):
// - a run with nothing due, from start to exit (it only registers its next start);
// - a run with 5 of them due, from start to the dialog painted and the program ended at once
//   (a script whose only action, `quit`, runs when the dialog has been drawn);
// and in the process, on the same store:
// - collecting the due reminders (what every run and every dialog action does);
// - opening the dialog until it is painted;
// - looking identifiers up in a "Dismissed" list of 5,000;
// and the processor time that `tavrel-device scheduler --watch` uses while it waits 60 s for a start.
//
//   bench_reminder --benchmark_filter=Run     (the programs come from $TAVREL_BIN or next to this one)

#include "ToolRunner.h"

#include "common/QoRegistry.h"
#include "platform/device/DeviceClock.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/RunningProgram.h"
#include "platform/sound/SoundPlayer.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "reminder/TavrelDismissedList.h"
#include "reminder/TavrelPartnerProgram.h"
#include "reminder/TavrelReminderDlg.h"
#include "reminder/TavrelReminderScheduler.h"
#include "reminder/TavrelReminderStore.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr const char* Clock = "2026-12-08T09:00:00";

std::filesystem::path ScratchFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-bench-reminder").string() + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    return pattern;
}

// A device whose store holds 200 reminders over the next weeks, `due` of them due at 9:00 AM on
// 8 December 2026.
class ScratchStore {
public:
    explicit ScratchStore(int due)
        : m_root(ScratchFolder())
    {
        device::DeviceFolder::select(m_root);
        CQoRegistry store(HKEY_CURRENT_USER, CTavrelReminderStore::KeyPath, true);
        const char16_t* categories[] = {u"Meeting", u"Call", u"ToDo", u"Birthday"};
        for (int i = 0; i < 200; ++i) {
            const CQoString id(device::fromUtf8("ACT" + std::to_string(1000 + i)).c_str());
            CQoRegistry reminder(store.GetKey(), id, true);
            // The due ones at 8:00-8:04 AM, the others spread over the days from the 9th.
            const device::OleDateTime at = i < due ? device::OleDateTime(2026, 12, 8, 8, i, 0)
                                                   : device::OleDateTime(2026, 12, 9 + i % 20, 8 + i % 10, 0, 0);
            const CQoString text(at.Format().c_str());
            reminder.SetString(u"Title", device::fromUtf8("Activity " + std::to_string(i)).c_str());
            reminder.SetString(u"Category", categories[i % 4]);
            reminder.SetString(u"Start", text);
            reminder.SetString(u"End", text);
            reminder.SetString(u"Reminder", text);
        }
        std::ofstream(m_root / "quit.txt") << "quit\n";
    }
    ~ScratchStore()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    const std::filesystem::path& root() const { return m_root; }

private:
    std::filesystem::path m_root;
};

// One whole run of tavrel-reminder per iteration.
void RunProgram(benchmark::State& state, int due, const std::vector<std::string>& options)
{
    ScratchStore store(due);
    std::vector<std::string> args = {"--device", store.root().string()};
    args.insert(args.end(), options.begin(), options.end());
    for (std::string& arg : args)
        if (arg == "QUIT")
            arg = (store.root() / "quit.txt").string();
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        const testing_support::ToolRun run
            = testing_support::runProgram("tavrel-reminder", args, {std::string("TAVREL_CLOCK=") + Clock});
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        if (run.exitCode != 0) {
            state.SkipWithError(("tavrel-reminder failed (is it built?): " + run.err).c_str());
            return;
        }
    }
}

void BM_RunWithNothingDue(benchmark::State& state) { RunProgram(state, 0, {"AppRunAtTime"}); }
BENCHMARK(BM_RunWithNothingDue)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_RunToTheDialogPainted(benchmark::State& state) { RunProgram(state, 5, {"--headless", "--script", "QUIT"}); }
BENCHMARK(BM_RunToTheDialogPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// In the process: the store of the dialog's run.
class InProcess {
public:
    InProcess()
        : m_store(5)
    {
        device::DeviceClock::setForTesting(*device::DeviceClock::parseClockSetting(Clock));
    }
    ~InProcess() { device::DeviceClock::resetForTesting(); }

private:
    ScratchStore m_store;
};

void BM_CollectDue(benchmark::State& state)
{
    InProcess scratch;
    CTavrelReminderStore store;
    const device::OleDateTime now = device::OleDateTime::GetCurrentTime();
    std::size_t due = 0;
    for (auto _ : state)
        due = store.CollectDue(now).size();
    state.counters["due"] = double(due);
}
BENCHMARK(BM_CollectDue)->Unit(benchmark::kMillisecond);

void BM_DialogOpenToPainted(benchmark::State& state)
{
    InProcess scratch;
    // The headless dialog lists its reminders on standard error; keep them out of the figures.
    const int savedError = ::dup(2);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 2);
    sound::SoundPlayer::setMode(sound::SoundPlayer::Mode::Report);
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\TavrelReminder.Exe");
    ui::Desktop desktop(std::make_unique<ui::HeadlessBackend>());
    CTavrelReminderStore store;
    CTavrelReminderScheduler scheduler(store, device::RunningProgram::devicePath());
    CTavrelPartnerProgram partner;
    // The observer runs once the dialog is painted.
    desktop.setModalObserver([](ui::Window& window) {
        if (auto* dialog = dynamic_cast<CTavrelReminderDlg*>(&window))
            dialog->endDialog(ui::IDCANCEL);
    });
    for (auto _ : state) {
        CTavrelReminderDlg dialog(store, scheduler, partner);
        dialog.RunModal();
    }
    desktop.setModalObserver({});
    sound::SoundPlayer::setMode(sound::SoundPlayer::Mode::Automatic);
    ::dup2(savedError, 2);
    ::close(savedError);
    ::close(null);
}
BENCHMARK(BM_DialogOpenToPainted)->Unit(benchmark::kMillisecond);

void BM_DismissedLookups(benchmark::State& state)
{
    std::u16string text;
    for (int i = 0; i < 5000; ++i)
        text += (i ? u"," : u"") + device::fromUtf8("ACT" + std::to_string(100000 + i));
    const CTavrelDismissedList list(CQoString(text.c_str()));
    std::vector<CQoString> wanted;
    for (int i = 0; i < 200; ++i)
        wanted.emplace_back(device::fromUtf8("ACT" + std::to_string(100000 + i * 37)).c_str());
    for (auto _ : state)
        for (const CQoString& id : wanted)
            benchmark::DoNotOptimize(list.Contains(id));
    state.SetItemsProcessed(state.iterations() * std::int64_t(wanted.size()));
}
BENCHMARK(BM_DismissedLookups)->Unit(benchmark::kMicrosecond);

// The processor time of all threads of a process, in nanoseconds (/proc/PID/task/TID/schedstat).
long long ProcessRunNanoseconds(int pid)
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

void BM_WatchIdleCpu(benchmark::State& state)
{
    ScratchStore store(0);
    // Something pending, far ahead: the watch wakes every poll interval and finds nothing due.
    testing_support::runProgram("tavrel-device",
        {"--device", store.root().string(), "reminder", "add", "LATER", "--at", "12/31/2026"},
        {std::string("TAVREL_CLOCK=") + Clock});
    const std::string tool = testing_support::programPath("tavrel-device").string();
    const std::string root = store.root().string();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::execl(tool.c_str(), tool.c_str(), "--device", root.c_str(), "scheduler", "--watch", nullptr);
        ::_exit(127);
    }
    std::this_thread::sleep_for(2s); // past start-up
    double cpuSeconds = 0;
    for (auto _ : state) {
        const long long before = ProcessRunNanoseconds(pid);
        std::this_thread::sleep_for(60s);
        cpuSeconds = double(ProcessRunNanoseconds(pid) - before) / 1e9;
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    state.counters["cpu_ms_in_60s"] = cpuSeconds * 1000;
    state.counters["cpu_percent"] = cpuSeconds / 60.0 * 100;
}
BENCHMARK(BM_WatchIdleCpu)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
