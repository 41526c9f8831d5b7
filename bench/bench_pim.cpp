// The calendar reader's monthly pass over the appointment store, at 10,000 and 100,000
// appointments: 1,000 of them recurring (500 weekly series of a few weeks, 500 yearly ones
// without end, as birthdays are), and exactly 500 items (appointments and occurrences) in the
// shown month, December 2026. Both stores hold the same month, so the pass should cost the same:
// what the month holds, not what the store holds.
//
// One pass is what the reader does every five seconds: write the period's bounds in the locale,
// set include-recurrences, Find, FindNext to the end, reading subject, start, end, identifier,
// categories and the recipient count of each item.

#include "platform/device/DeviceFolder.h"
#include "platform/device/OleDateTime.h"
#include "platform/pim/Application.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>

namespace {

using device::OleDateTime;
using device::OleDateTimeSpan;

constexpr int kRecurringWeekly = 500;
constexpr int kRecurringYearly = 500;
constexpr int kInShownMonth = 500;

const OleDateTime kMonthFrom(2026, 12, 1, 0, 0, 0);
const OleDateTime kMonthTo(2026, 12, 31, 23, 59, 59);

std::u16string periodQuery()
{
    return u"[End] >= \"" + kMonthFrom.Format() + u"\" AND [Start] <= \"" + kMonthTo.Format() + u"\"";
}

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
        fill(size);
    }
    ~BenchStore()
    {
        app.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }

    std::unique_ptr<pim::Application> app;

private:
    // The store spans one month per 500 appointments, the shown month in the middle.
    void fill(int size)
    {
        std::mt19937 random(2026'12'08u + unsigned(size));
        const int months = std::max(3, size / kInShownMonth);
        const OleDateTime first = kMonthFrom - OleDateTimeSpan(double(months / 2 * 30));
        const double spanDays = months * 30.4;
        const auto anyDay = [&] { return first + OleDateTimeSpan(double(random() % unsigned(spanDays))); };
        const auto hourOf = [&](const OleDateTime& day) {
            return OleDateTime(day.GetYear(), day.GetMonth(), day.GetDay(), 7 + int(random() % 12), 0, 0);
        };

        for (int i = 0; i < kRecurringWeekly; ++i)
            save(hourOf(anyDay()), u"Weekly review", u"Business", [&](pim::RecurrencePattern& pattern) {
                pattern.setRecurrenceType(pim::olRecursWeekly);
                pattern.setOccurrences(4 + int(random() % 9));
            });
        for (int i = 0; i < kRecurringYearly; ++i)
            save(hourOf(anyDay()), u"Birthday", u"Personal", [&](pim::RecurrencePattern& pattern) {
                pattern.setRecurrenceType(pim::olRecursYearly);
            });

        // Top the shown month up to exactly 500 items; the rest lies in the other months.
        const int fromSeries = countInMonth();
        const int monthSingles = kInShownMonth - fromSeries;
        for (int i = 0; i < monthSingles; ++i)
            save(hourOf(kMonthFrom + OleDateTimeSpan(double(random() % 31))), u"Meeting", u"Business", {});
        for (int placed = kRecurringWeekly + kRecurringYearly + monthSingles; placed < size;) {
            const OleDateTime day = anyDay();
            if (day >= kMonthFrom - OleDateTimeSpan(1.0) && day <= kMonthTo + OleDateTimeSpan(1.0))
                continue;
            save(hourOf(day), u"Meeting", u"Business", {});
            ++placed;
        }
        if (countInMonth() != kInShownMonth)
            std::abort();
    }

    void save(const OleDateTime& start, const char16_t* subject, const char16_t* categories,
              const std::function<void(pim::RecurrencePattern&)>& shape)
    {
        std::unique_ptr<pim::Appointment> item = app->createItem(pim::olAppointmentItem);
        item->setStart(start);
        item->setEnd(start + OleDateTimeSpan(0, 1, 0, 0));
        item->setSubject(subject);
        item->setCategories(categories);
        item->recipients().add(u"Ann");
        if (shape)
            shape(item->getRecurrencePattern());
        if (!item->save())
            std::abort();
    }

    int countInMonth()
    {
        std::unique_ptr<pim::Items> items = app->getDefaultFolder(pim::olFolderCalendar)->items();
        items->setIncludeRecurrences(true);
        int count = 0;
        for (auto item = items->find(periodQuery()); item; item = items->findNext())
            ++count;
        return count;
    }

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
        const std::u16string restriction = periodQuery();
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
