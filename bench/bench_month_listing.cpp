// Listing one month from the command line, as a whole process per listing: Tavrel's
// `tavrel-device pim list --from 12/1/2026 --to 12/31/2026` over a store of 10,000 one-off
// appointments and 100 weekly series, side by side with calcurse (`calcurse -Q`) and khal
// (`khal list`) over the same appointments, when those are installed. The same iCalendar file,
// written here, fills all three (Tavrel with `pim import`).
//
//   bench_month_listing --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
//
// Each run's time is the process's, from its start to its end, output sent to /dev/null. The
// other programs' benchmarks report their time over Tavrel's as "times_tavrel". The programs are
// found in $TAVREL_BIN or next to this one; calcurse and khal in /usr/bin.

#include "ToolRunner.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kSingles = 10'000;
constexpr int kWeeklySeries = 100;

// Runs argv with standard output and error on /dev/null; its exit status, or -1.
int run(const std::vector<std::string>& argv)
{
    std::vector<char*> pointers;
    for (const std::string& arg : argv)
        pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int started = posix_spawn(&child, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return -1;
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The scratch folder with the calendar file and each program's data, made once for the whole run.
class Data {
public:
    static Data& get()
    {
        static Data data;
        return data;
    }
    ~Data()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::filesystem::path root;
    std::filesystem::path calendar;
    bool tavrelReady = false;
    bool calcurseReady = false;
    bool khalReady = false;
    double tavrelSeconds = 0; // per listing, once measured

private:
    Data()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-bench-month-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        root = pattern;
        // Every program reads the floating times of the file as the same local times.
        ::setenv("TZ", "UTC", 1);
        writeCalendar();
        tavrelReady = run({testing_support::programPath("tavrel-device").string(), "--device", (root / "tavrel").string(),
                           "pim", "import", calendar.string()}) == 0;
        if (std::filesystem::exists("/usr/bin/calcurse")) {
            std::filesystem::create_directories(root / "calcurse");
            calcurseReady = run({"/usr/bin/calcurse", "-D", (root / "calcurse").string(), "-i", calendar.string()}) == 0;
        }
        if (std::filesystem::exists("/usr/bin/khal")) {
            std::filesystem::create_directories(root / "khal" / "calendar");
            std::ofstream(root / "khal" / "config")
                << "[calendars]\n[[bench]]\npath = " << (root / "khal" / "calendar").string()
                << "\n[locale]\ntimeformat = %H:%M\ndateformat = %Y-%m-%d\nlongdateformat = %Y-%m-%d\n"
                   "datetimeformat = %Y-%m-%d %H:%M\nlongdatetimeformat = %Y-%m-%d %H:%M\nlocal_timezone = UTC\n"
                   "default_timezone = UTC\n[default]\ndefault_calendar = bench\n[sqlite]\npath = "
                << (root / "khal" / "cache.db").string() << "\n";
            khalReady = run({"/usr/bin/khal", "-c", (root / "khal" / "config").string(), "import", "--batch", "-a",
                             "bench", calendar.string()}) == 0;
        }
    }

    // 10,000 one-off appointments over 2026 and 2027 and 100 weekly series without end, begun in
    // 2026: about 850 items in December 2026.
    void writeCalendar()
    {
        calendar = root / "month.ics";
        std::ofstream out(calendar, std::ios::binary);
        out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavrel benchmark//EN\r\n";
        std::mt19937 random(2026);
        const auto pick = [&](int low, int high) { return low + int(random() % unsigned(high - low + 1)); };
        char line[160];
        for (int i = 0; i < kWeeklySeries; ++i) {
            const int month = pick(1, 12), day = pick(1, 28), hour = pick(8, 17);
            std::snprintf(line, sizeof line,
                          "BEGIN:VEVENT\r\nUID:series-%d@bench\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:2026%02d%02dT%02d0000\r\n"
                          "DTEND:2026%02d%02dT%02d4500\r\n",
                          i, month, day, hour, month, day, hour);
            out << line << "RRULE:FREQ=WEEKLY\r\nSUMMARY:Series " << i << "\r\nEND:VEVENT\r\n";
        }
        for (int i = 0; i < kSingles; ++i) {
            const int year = pick(2026, 2027), month = pick(1, 12), day = pick(1, 28), hour = pick(8, 17);
            std::snprintf(line, sizeof line,
                          "BEGIN:VEVENT\r\nUID:one-%d@bench\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:%d%02d%02dT%02d0000\r\n"
                          "DTEND:%d%02d%02dT%02d3000\r\n",
                          i, year, month, day, hour, year, month, day, hour);
            out << line << "SUMMARY:Appointment " << i << "\r\nCATEGORIES:Business\r\nEND:VEVENT\r\n";
        }
        out << "END:VCALENDAR\r\n";
    }
};

void measure(benchmark::State& state, bool ready, const char* missing, const std::vector<std::string>& argv)
{
    if (!ready) {
        state.SkipWithError(missing);
        return;
    }
    double total = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        const int status = run(argv);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        if (status != 0) {
            state.SkipWithError("the listing failed");
            return;
        }
        state.SetIterationTime(took.count());
        total += took.count();
    }
    const double perListing = total / double(state.iterations());
    Data& data = Data::get();
    if (argv.front().find("tavrel-device") != std::string::npos)
        data.tavrelSeconds = perListing;
    else if (data.tavrelSeconds > 0)
        state.counters["times_tavrel"] = perListing / data.tavrelSeconds;
}

void BM_MonthListing_Tavrel(benchmark::State& state)
{
    Data& data = Data::get();
    measure(state, data.tavrelReady, "tavrel-device pim import failed (is tavrel-device built?)",
            {testing_support::programPath("tavrel-device").string(), "--device", (data.root / "tavrel").string(), "pim",
             "list", "--from", "12/1/2026", "--to", "12/31/2026"});
}
BENCHMARK(BM_MonthListing_Tavrel)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MonthListing_Calcurse(benchmark::State& state)
{
    Data& data = Data::get();
    measure(state, data.calcurseReady, "calcurse is not installed",
            {"/usr/bin/calcurse", "-D", (data.root / "calcurse").string(), "-Q", "--from", "12/01/2026", "--days", "31"});
}
BENCHMARK(BM_MonthListing_Calcurse)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MonthListing_Khal(benchmark::State& state)
{
    Data& data = Data::get();
    measure(state, data.khalReady, "khal is not installed",
            {"/usr/bin/khal", "-c", (data.root / "khal" / "config").string(), "list", "2026-12-01", "31d"});
}
BENCHMARK(BM_MonthListing_Khal)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
