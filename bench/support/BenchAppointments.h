#pragma once
// The appointment store the reader benchmarks run over: `size` appointments, 1,000 of them
// recurring (500 weekly series of a few weeks, 500 yearly ones without end, as birthdays are), and
// exactly 500 items (appointments and occurrences) in the shown month, December 2026. Stores of
// every size hold the same month, so a pass over it should cost what the month holds, not what
// the store holds.

#include "platform/device/OleDateTime.h"

#include <span>
#include <string>

namespace pim {
class Application;
}

namespace bench_support {

constexpr int kRecurringWeekly = 500;
constexpr int kRecurringYearly = 500;
constexpr int kInShownMonth = 500;

// The shown month's first and last second.
device::OleDateTime shownMonthFrom();
device::OleDateTime shownMonthTo();

// The reader's restriction for the shown month, dates in the locale's text.
std::u16string shownMonthQuery();

// Fills a logged-on, empty store; one-off appointments take their subjects from `subjects` in
// turn at random. Aborts the benchmark program if the store refuses an item.
void fillStore(pim::Application& app, int size, std::span<const char16_t* const> subjects);

} // namespace bench_support
