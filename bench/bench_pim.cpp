// The calendar reader's monthly pass over the appointment store, at 10,000 and 100,000
// appointments: 1,000 of them recurring (500 weekly series of a few weeks, 500 yearly ones
// without end, as birthdays are), and exactly 500 items (appointments and occurrences) in the
// shown month, December 2026. Both stores hold the same month, so the pass should cost the same:
// what the month holds, not what the store holds.
//
// One pass is what the reader does every five seconds: write the period's bounds in the locale,
// set include-recurrences, Find, FindNext to the end, reading subject, start, end, identifier,
// categories and the recipient count of each item.

#include "support/BenchAppointments.h"

#include "platform/device/DeviceFolder.h"
#include "platform/device/OleDateTime.h"
#include "platform/pim/Application.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

using device::OleDateTime;
using device::OleDateTimeSpan;

// A store of `size` appointments in a scratch folder, built once per size for the whole run.
class BenchStore {
public:
    explicit BenchStore(int size)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-bench-pim-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_root = pattern;
        app = pim::Application::create(m_root / "pim.db");
        if (!app || !app->logon())
            std::abort();
        bench_support::fillStore(*app, size, {});
    }
    ~BenchStore()
    {
        app.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }

    std::unique_ptr<pim::Application> app;

private:
    std::filesystem::path m_root;
};

BenchStore& storeOf(int size)
{
    static std::map<int, std::unique_ptr<BenchStore>> stores;
    std::unique_ptr<BenchStore>& store = stores[size];
    if (!store)
        store = std::make_unique<BenchStore>(size);
    return *store;
}

void BM_MonthlyReaderPass(benchmark::State& state)
{
    BenchStore& store = storeOf(int(state.range(0)));
    std::unique_ptr<pim::Folder> folder = store.app->getDefaultFolder(pim::olFolderCalendar);
    std::unique_ptr<pim::Items> items = folder->items();
    std::size_t found = 0;
    for (auto _ : state) {
        const std::u16string restriction = bench_support::shownMonthQuery();
        items->setIncludeRecurrences(true);
        found = 0;
        for (auto item = items->find(restriction); item; item = items->findNext()) {
            benchmark::DoNotOptimize(item->subject().size() + item->categories().size());
            benchmark::DoNotOptimize(item->start().GetValue() + item->end().GetValue());
            benchmark::DoNotOptimize(item->oid() + std::uint32_t(item->recipients().count()));
            ++found;
        }
    }
    state.counters["items"] = double(found);
    state.counters["store"] = double(state.range(0));
}
BENCHMARK(BM_MonthlyReaderPass)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Logon reads the whole file once (the integrity check): what start-up pays for it.
void BM_Logon(benchmark::State& state)
{
    BenchStore& store = storeOf(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<pim::Application> app = pim::Application::create(store.app->file());
        if (!app || !app->logon())
            state.SkipWithError("logon failed");
    }
}
BENCHMARK(BM_Logon)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace
