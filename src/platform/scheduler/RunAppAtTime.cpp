#include "platform/scheduler/RunAppAtTime.h"

#include "platform/scheduler/PendingStarts.h"

namespace scheduler {

bool runAppAtTime(device::WideView program, const std::optional<device::SystemTime>& localTime, std::string* error)
{
    if (localTime)
        return PendingStarts::set(program, *localTime, error);
    return PendingStarts::cancel(program, error);
}

std::optional<device::SystemTime> pendingStart(device::WideView program) { return PendingStarts::find(program); }

} // namespace scheduler
