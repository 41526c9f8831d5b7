// Matching one appointment against the 55 default icon rules, as the reader does for every
// appointment of every pass. Target: under 5 microseconds per appointment.

#include "rules/TavrelDefaultRules.h"
#include "rules/TavrelRules.h"

#include <benchmark/benchmark.h>

namespace {

CTavrelRules& defaultRules()
{
    static CTavrelRules rules = [] {
        CTavrelRules r;
        CTavrelDefaultRules::AddTo(r, u"\\Program Files\\Tavrel\\Tavrel.exe", 0x0409);
        return r;
    }();
    return rules;
}

void match(benchmark::State& state, const char16_t* subject, const char16_t* categories, std::int32_t recipients)
{
    const CTavrelRules& rules = defaultRules();
    for (auto _ : state)
        benchmark::DoNotOptimize(rules.Match(subject, categories, recipients));
}

// No rule matches: every one of the 55 is tried (the slowest case).
void BM_MatchNoRule(benchmark::State& state)
{
    match(state, u"Quarterly budget review with the finance department", u"Business, Personal, Holiday Cards", 0);
}
BENCHMARK(BM_MatchNoRule);

// Matched half-way down the list by a subject rule.
void BM_MatchLunch(benchmark::State& state) { match(state, u"Lunch with Sam at the corner place", u"Personal", 0); }
BENCHMARK(BM_MatchLunch);

// Matched by the last rules, on the category list.
void BM_MatchCategory(benchmark::State& state) { match(state, u"Weekly status", u"Business, ToDo", 0); }
BENCHMARK(BM_MatchCategory);

// A long subject (beyond the stack buffer) that matches nothing.
void BM_MatchLongSubject(benchmark::State& state)
{
    static const std::u16string subject(400, u'x');
    match(state, subject.c_str(), u"Business", 0);
}
BENCHMARK(BM_MatchLongSubject);

} // namespace
