// The calendar program's start-up, as a person sees it: from starting `tavrel --headless --snapshot`
// to the first frame drawn with the store's events (the snapshot is written once the view has
// taken in the reader's first pass) and the program's end. Each iteration is one whole program run
// on a scratch device with the package installed and a month of appointments (150, a tenth of
// them with rule icons), so the pictures, fonts, registry and store are all read as they are on a
// real start. The peak resident memory of the runs is reported as well (the host's accounting of
// the finished program). Beside it, the same start with three attached calendars of 1,000 events
// each, which the program reads from their local copies.
//
//   bench_startup --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
//
// The programs are found in $TAVREL_BIN or next to this one.

#include "platform/device/DeviceFolder.h"
#include "platform/device/OleDateTime.h"
#include "platform/pim/Application.h"

#include "CalendarDocument.h"
#include "ToolRunner.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// A calendar of 1,000 events through 2026 in four leagues, as its local copy is kept: 16-bit
// little-endian text in "\TEMP\Cached\RemoteCalendars\NAME\NAME.XML".
std::string attachedCalendarCopy(const std::string& name)
{
    const char* teams[] = {"Rovers", "Harbour", "United", "Athletic", "Wanderers", "Rangers"};
    testing_support::CalendarDocument document;
    document.name = name;
    for (int league = 0; league < 4; ++league) {
        testing_support::CalendarDocument::Category category{"League " + std::to_string(league + 1), {}};
        for (int i = 0; i < 250; ++i) {
            const int serial = league * 250 + i;
            const int day = serial / 3;
            const std::string date = std::to_string(1 + (day / 28) % 12) + "/" + std::to_string(1 + day % 28) + "/26";
            const std::string hour = std::to_string(9 + 3 * (serial % 3));
            category.events.push_back({std::string(teams[serial % 6]) + " v " + teams[(serial + 1 + serial / 6) % 6],
                                       date, hour + ":30", hour + ":45", "ball.gif"});
        }
        document.categories.push_back(std::move(category));
    }
    std::string wide;
    for (char c : document.text()) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

// A device with the package installed, the default skin applied and December 2026 filled; with
// `attached` remote calendars of 1,000 events each kept from an earlier run.
class ScratchDevice {
public:
    explicit ScratchDevice(int attached = 0) : m_root(scratchFolder("tavrel-bench-startup"))
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
        for (int i = 1; i <= attached; ++i) {
            const std::string name = "League Calendar " + std::to_string(i);
            const std::filesystem::path folder = m_root / "fs" / "TEMP" / "Cached" / "RemoteCalendars" / name;
            std::filesystem::create_directories(folder);
            std::ofstream(folder / (name + ".XML"), std::ios::binary) << attachedCalendarCopy(name);
            if (testing_support::runDeviceTool(m_root,
                                               {"reg", "set", "HKCU", "Software\\Orvix\\Tavrel\\Calendars\\" + name,
                                                "URL", "sz",
                                                "http://127.0.0.1:9/leagues/" + std::to_string(i) + ".xml"})
                    .exitCode
                != 0)
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

void startUp(benchmark::State& state, int attached)
{
    ScratchDevice device(attached);
    if (!device.ready()) {
        state.SkipWithError("the calendar did not run (are tavrel and tavrel-device built?)");
        return;
    }
    auto childCpu = [] {
        rusage children{};
        ::getrusage(RUSAGE_CHILDREN, &children);
        return double(children.ru_utime.tv_sec + children.ru_stime.tv_sec) * 1000.0
            + double(children.ru_utime.tv_usec + children.ru_stime.tv_usec) / 1000.0;
    };
    const double cpuBefore = childCpu();
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        const testing_support::ToolRun run = device.Run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        if (run.exitCode != 0 || run.err.find("message-box:") != std::string::npos) {
            state.SkipWithError(run.err.c_str());
            return;
        }
        state.SetIterationTime(took.count());
    }
    // The processor time of a run (the program's own, user and system), which a busy machine
    // disturbs less than the time on the clock.
    state.counters["cpu_ms_per_run"] = (childCpu() - cpuBefore) / double(state.iterations());
    rusage children{};
    ::getrusage(RUSAGE_CHILDREN, &children);
    // The largest of every program this process has run: compare benchmarks run one at a time
    // (--benchmark_filter).
    state.counters["peak_rss_MiB"] = double(children.ru_maxrss) / 1024.0; // kilobytes on this host
}

void BM_StartUpToTheFirstDrawnFrame(benchmark::State& state) { startUp(state, 0); }
BENCHMARK(BM_StartUpToTheFirstDrawnFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// The same with three attached calendars of 1,000 events each, loaded from their local copies.
void BM_StartUpWithThreeAttachedCalendars(benchmark::State& state) { startUp(state, 3); }
BENCHMARK(BM_StartUpWithThreeAttachedCalendars)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
