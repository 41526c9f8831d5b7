// CQoRegistry::GetDWORD per call, on a throw-away device folder: a value that exists (one read
// transaction), a missing value whose default is written back (a read, then a write
// transaction), and a missing value read with the no-write-back default (two reads).

#include "common/QoRegistry.h"
#include "platform/device/DeviceFolder.h"

#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Selects a fresh device folder for one benchmark and removes it afterwards.

std::u16string numberedName(const char16_t* prefix, std::uint64_t n)
{
    std::u16string name(prefix);
    for (char c : std::to_string(n))
        name.push_back(char16_t(c));
    return name;
}

void BM_GetDWORD_Existing(benchmark::State& state)
{
    ScratchDevice device("tavrel-bench-registry");
    CQoRegistry key(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", true);
    key.SetDWORD(u"Transparency01", 50);
    for (auto _ : state)
        benchmark::DoNotOptimize(key.GetDWORD(u"Transparency01", 50));
    if (key.GetDWORD(u"Transparency01", 0) != 50)
        state.SkipWithError("the value was not read");
}
BENCHMARK(BM_GetDWORD_Existing);

void BM_GetDWORD_MissingWithWriteBack(benchmark::State& state)
{
    ScratchDevice device("tavrel-bench-registry");
    CQoRegistry key(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", true);
    std::uint64_t n = 0;
    for (auto _ : state) {
        // A new name each time, so every call misses and writes its default back.
        std::u16string name = numberedName(u"Missing", n++);
        benchmark::DoNotOptimize(key.GetDWORD(name.c_str(), 7));
    }
    if (!key.ValueExists(u"Missing0"))
        state.SkipWithError("the default was not written back");
}
BENCHMARK(BM_GetDWORD_MissingWithWriteBack);

void BM_GetDWORD_MissingWithWriteBackThenDelete(benchmark::State& state)
{
    ScratchDevice device("tavrel-bench-registry");
    CQoRegistry key(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(key.GetDWORD(u"LastView", 2));
        state.PauseTiming();
        key.DeleteValue(u"LastView");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GetDWORD_MissingWithWriteBackThenDelete);

void BM_GetDWORD_MissingNoWriteBack(benchmark::State& state)
{
    ScratchDevice device("tavrel-bench-registry");
    CQoRegistry key(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", true);
    for (auto _ : state)
        benchmark::DoNotOptimize(key.GetDWORD(u"Probe", CQoRegistry::NoWriteBack));
}
BENCHMARK(BM_GetDWORD_MissingNoWriteBack);

} // namespace
