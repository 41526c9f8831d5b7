// Cost of one locale date conversion: the calendar converts dates to and from text for every
// restriction, notification, reminder and log line.

#include "platform/device/DateFormatter.h"
#include "platform/device/DateParser.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/VariantTime.h"

#include <benchmark/benchmark.h>

using namespace device;

static void BM_ParseDateTime(benchmark::State& state)
{
    const WideString text = u"12/8/2026 3:45:00 PM";
    double date = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(varDateFromStr(text, 0, date));
        benchmark::DoNotOptimize(date);
    }
}
BENCHMARK(BM_ParseDateTime);

static void BM_ParseMonthNameDate(benchmark::State& state)
{
    const WideString text = u"Tue, December 8, 2026 3:45 PM";
    double date = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(varDateFromStr(text, 0, date));
        benchmark::DoNotOptimize(date);
    }
}
BENCHMARK(BM_ParseMonthNameDate);

static void BM_ParseGarbage(benchmark::State& state)
{
    const WideString text = u"not a date at all, 12/8/2026";
    double date = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(varDateFromStr(text, 0, date));
}
BENCHMARK(BM_ParseGarbage);

static void BM_FormatDateTime(benchmark::State& state)
{
    const double date = OleDateTime(2026, 12, 8, 15, 45, 0).GetValue();
    WideString text;
    for (auto _ : state) {
        benchmark::DoNotOptimize(varBstrFromDate(date, 0, text));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_FormatDateTime);

static void BM_FormatPattern(benchmark::State& state)
{
    const OleDateTime date(2026, 12, 8, 15, 45, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(date.Format(u"%A, %B %#d, %Y %H:%M"));
}
BENCHMARK(BM_FormatPattern);

static void BM_VariantTimeToSystemTime(benchmark::State& state)
{
    const double date = OleDateTime(2026, 12, 8, 15, 45, 0).GetValue();
    SystemTime time;
    for (auto _ : state) {
        benchmark::DoNotOptimize(variantTimeToSystemTime(date, time));
        benchmark::DoNotOptimize(time);
    }
}
BENCHMARK(BM_VariantTimeToSystemTime);
