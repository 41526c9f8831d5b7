// The calendar program's start-up, as a person sees it: from starting `tavrel --headless --snapshot`
// to the first frame drawn with the store's events (the snapshot is written once the view has
// taken in the reader's first pass) and the program's end. Each iteration is one whole program run
// on a scratch device with the package installed and a month of appointments (150, a tenth of
// them with rule icons), so the pictures, fonts, registry and store are all read as they are on a
// real start. The peak resident memory of the runs is reported as well (the host's accounting of
// the finished program).
//
//   bench_startup --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
//
// The programs are found in $TAVREL_BIN or next to this one.

#include "platform/device/DeviceFolder.h"
#include "platform/device/OleDateTime.h"
#include "platform/pim/Application.h"

#include "ToolRunner.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace {

std::filesystem::path scratchFolder(const char* name)
{
    std::string pattern = (std::filesystem::temp_directory_path() / name).string() + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    return pattern;
}

// A device with the package installed, the default skin applied and December 2026 filled.
class ScratchDevice {
public:
    ScratchDevice() : m_root(scratchFolder("tavrel-bench-startup"))
    {
        if (!device::DeviceFolder::select(m_root))
            return;
        if (testing_support::runDeviceTool(m_root, {"install"}).exitCode != 0)
            return;
        auto store = pim::Application::create();
        if (!store || !store->logon())
            return;
        const char16_t* subjects[] = {u"Team meeting", u"Lunch with Anna", u"Dentist", u"Call the bank", u"Review",
                                      u"Gym", u"Birthday party", u"Project planning", u"Flight to Oslo", u"Dinner"};
        for (int i = 0; i < 150; ++i) {
            auto item = store->createItem(pim::olAppointmentItem);
            const int day = 1 + i % 31, hour = 8 + i % 10;
            item->setStart(device::OleDateTime(2026, 12, day, hour, 0, 0));
            item->setEnd(device::OleDateTime(2026, 12, day, hour + 1, 0, 0));
            item->setSubject(subjects[i % 10]);
            if (!item->save())
                return;
        }
        m_ready = Run().exitCode == 0; // the first start applies the default skin
    }
    ~ScratchDevice()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    bool ready() const { return m_ready; }

    testing_support::ToolRun Run() const
    {
        return testing_support::runProgram(
            "tavrel",
            {"--device", m_root.string(), "--headless", "--snapshot", (m_root / "screen.png").string(), "--control-port",
             "0", "--notify-port", std::to_string(47000 + ::getpid() % 1000)},
            {"TAVREL_CLOCK=2026-12-08T15:45:00"});
    }

private:
    std::filesystem::path m_root;
    bool m_ready = false;
};

void BM_StartUpToTheFirstDrawnFrame(benchmark::State& state)
{
    ScratchDevice device;
    if (!device.ready()) {
        state.SkipWithError("the calendar did not run (are tavrel and tavrel-device built?)");
        return;
    }
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        const testing_support::ToolRun run = device.Run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        if (run.exitCode != 0) {
            state.SkipWithError(run.err.c_str());
            return;
        }
        state.SetIterationTime(took.count());
    }
    rusage children{};
    ::getrusage(RUSAGE_CHILDREN, &children);
    state.counters["peak_rss_MiB"] = double(children.ru_maxrss) / 1024.0; // kilobytes on this host
}
BENCHMARK(BM_StartUpToTheFirstDrawnFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
