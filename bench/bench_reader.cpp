// One monthly pass of the calendar's reader thread, as the program runs it every five seconds:
// take the event and calendar list locks, empty the window collection, query the appointment
// store for December 2026 with recurrences expanded, match every appointment against the 55
// default icon rules under the rules lock, add each to the start-ordered window collection, and
// post to the view.
//
// The stores hold 10,000 and 100,000 appointments, 1,000 of them recurring (500 weekly series of
// a few weeks, 500 yearly ones without end), and exactly 500 items in the shown month. The pass
// should cost what the month holds, not what the store holds.
//
// Beside it: adding 500 events to a window collection in start order (as the store hands them
// over) and in reverse order, and one read of the logging switch, which every added event asks
// (a pass reads it once and keeps it for the rebuild).

#include "support/ScratchDevice.h"
#include "support/BenchAppointments.h"

#include "common/QoLog.h"
#include "data/TavrelCalendarData.h"
#include "data/TavrelMainWindow.h"
#include "data/TavrelReader.h"
#include "data/TavrelReaderView.h"
#include "data/TavrelSettings.h"
#include "data/TavrelSleeper.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/RunningProgram.h"
#include "platform/pim/Application.h"
#include "rules/TavrelRules.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

using device::OleDateTime;
using device::OleDateTimeSpan;

using bench_support::kInShownMonth;
const OleDateTime kViewDate(2026, 12, 8, 0, 0, 0);

// A scratch device for the whole run: registry, rules file and the stores live in it; the program
// runs as the installed calendar.
struct ReaderDevice : ScratchDevice {
    ReaderDevice() : ScratchDevice("tavrel-bench-reader")
    {
        device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
    }
};

ScratchDevice& scratch()
{
    static ReaderDevice device;
    return device;
}

// A store of `size` appointments, built once per size for the whole run.
class BenchStore {
public:
    explicit BenchStore(int size)
    {
        app = pim::Application::create(scratch().root() / ("pim-" + std::to_string(size) + ".db"));
        if (!app || !app->logon())
            std::abort();
        static const char16_t* const subjects[] = {u"Meeting with Ann", u"Dentist", u"Lunch", u"Project review",
                                                   u"Call Bob", u"Gym"};
        bench_support::fillStore(*app, size, subjects);
    }

    std::shared_ptr<pim::Application> app;
};

BenchStore& storeOf(int size)
{
    static std::map<int, std::unique_ptr<BenchStore>> stores;
    std::unique_ptr<BenchStore>& store = stores[size];
    if (!store)
        store = std::make_unique<BenchStore>(size);
    return *store;
}

// The view shows December 2026 by month; posts are counted, not delivered.
class BenchFrame : public CTavrelMainWindow, public CTavrelReaderView {
public:
    CTavrelReaderView* GetReaderView() override { return this; }
    void RefreshCalendarChecks() override {}
    void ReloadViewEvents() override {}
    OleDateTime GetCurrentDate() override { return kViewDate; }
    int GetViewMode() override { return Monthly; }
    void PostRefreshEvents() override { ++posts; }
    int posts = 0;
};

class NoSleep : public CTavrelSleeper {
public:
    void Sleep(std::chrono::milliseconds) override {}
};

void BM_MonthlyReaderPass(benchmark::State& state)
{
    BenchStore& store = storeOf(int(state.range(0)));
    auto settings = std::make_shared<CTavrelSettings>();
    auto rules = std::make_shared<CTavrelRules>();
    if (!rules->Load(CTavrelRules::DefaultPath) || rules->GetCount() != 55)
        state.SkipWithError("no default rules");
    auto data = std::make_shared<CTavrelCalendarData>();
    BenchFrame frame;
    data->GetMainWindowLink().Set(&frame);
    CTavrelReader reader({data, settings, rules, store.app}, std::make_shared<NoSleep>());
    for (auto _ : state) {
        if (reader.RunPass() != CTavrelReader::PassResult::Posted)
            state.SkipWithError("the pass did not post");
    }
    state.counters["read"] = double(reader.GetLastStoreCount());
    state.counters["shown"] = double(data->GetWindowEvents().GetCount());
    state.counters["store"] = double(state.range(0));
    data->GetMainWindowLink().Set(nullptr);
}
BENCHMARK(BM_MonthlyReaderPass)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The window collection's side of a pass: 500 appointments of one month added as the store hands
// them over (in start order), and the same in reverse order, which walks the list each time.
void AddEvents(benchmark::State& state, bool inStartOrder)
{
    scratch();
    std::vector<CTavrelEvent> events;
    for (int i = 0; i < kInShownMonth; ++i) {
        const OleDateTime start = bench_support::shownMonthFrom() + OleDateTimeSpan(0, 0, i * 89, 0);
        events.emplace_back(start, start + OleDateTimeSpan(0, 1, 0, 0), std::int32_t(1000 + i), u"Meeting with Ann",
                            u"meeting.gif");
    }
    if (!inStartOrder)
        std::reverse(events.begin(), events.end());
    CTavrelEvents window(u"202612");
    // As in a reader pass: the logging switch is read once, not once per event.
    const CQoLog::SwitchSnapshot logging;
    for (auto _ : state) {
        window.RemoveAll();
        for (const CTavrelEvent& event : events)
            window.AddEvent(event);
    }
    if (window.GetCount() != kInShownMonth)
        state.SkipWithError("events were lost");
}
void BM_AddEventsInStartOrder(benchmark::State& state)
{
    AddEvents(state, true);
}
void BM_AddEventsInReverseOrder(benchmark::State& state)
{
    AddEvents(state, false);
}
BENCHMARK(BM_AddEventsInStartOrder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AddEventsInReverseOrder)->Unit(benchmark::kMicrosecond);

void BM_LoggingSwitch(benchmark::State& state)
{
    scratch();
    for (auto _ : state)
        benchmark::DoNotOptimize(CQoLog::IsEnabled());
}
BENCHMARK(BM_LoggingSwitch)->Unit(benchmark::kMicrosecond);

} // namespace
