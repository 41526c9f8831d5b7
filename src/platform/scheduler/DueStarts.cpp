#include "platform/scheduler/DueStarts.h"

#include "platform/device/ProcessStart.h"
#include "platform/device/VariantTime.h"

#include <algorithm>

namespace scheduler {

namespace {

std::optional<std::int64_t> millisecondsOf(const device::SystemTime& time)
{
    device::SystemTime whole = time;
    whole.milliseconds = 0;
    double date = 0;
    if (!device::systemTimeToVariantTime(whole, date))
        return std::nullopt;
    const std::optional<std::int64_t> milliseconds = device::variantTimeToMilliseconds(date);
    return milliseconds ? std::optional(*milliseconds + time.milliseconds) : std::nullopt;
}

} // namespace

std::vector<StartOutcome> DueStarts::run(const device::SystemTime& now, std::string* error)
{
    std::vector<StartOutcome> outcomes;
    for (PendingStart& start : PendingStarts::takeDue(now, error)) {
        StartOutcome outcome {std::move(start), false, {}};
        outcome.started = device::ProcessStart::start(outcome.start.program, CommandLine, &outcome.error);
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::chrono::milliseconds DueStarts::sleepBefore(const device::SystemTime& now, std::chrono::milliseconds longest)
{
    const std::vector<PendingStart> pending = PendingStarts::list();
    const std::optional<std::int64_t> from = millisecondsOf(now);
    if (pending.empty() || !from)
        return longest;
    const std::optional<std::int64_t> until = millisecondsOf(pending.front().time);
    if (!until)
        return longest;
    return std::clamp(std::chrono::milliseconds(*until + 1000 - *from), std::chrono::milliseconds(0), longest);
}

} // namespace scheduler
