// CQoString: the operations every program leans on.

#include "common/QoString.h"

#include <benchmark/benchmark.h>

static void StringFormat(benchmark::State& state)
{
    CQoString s;
    for (auto _ : state) {
        s.Format(u"CTavrelEvents::AddEvent(Start='%s', End='%s', ID='%lu', Name='%s')", u"12/8/2026 9:00:00 AM",
                 u"12/8/2026 10:00:00 AM", 4026531841u, u"Team meeting");
        benchmark::DoNotOptimize(s.GetString());
    }
}
BENCHMARK(StringFormat);

static void StringFind(benchmark::State& state)
{
    CQoString s(u"OnRequestChangeActivity:\"A-1024\";\"12/8/2026 9:00:00 AM\";\"12/8/2026 10:00:00 AM\"");
    for (auto _ : state)
        benchmark::DoNotOptimize(s.Find(u"10:00:00"));
}
BENCHMARK(StringFind);

static void StringAppendChar1000(benchmark::State& state)
{
    for (auto _ : state) {
        CQoString s;
        for (int i = 0; i < 1000; ++i)
            s.AppendChar(u'x');
        benchmark::DoNotOptimize(s.GetLength());
    }
}
BENCHMARK(StringAppendChar1000);
