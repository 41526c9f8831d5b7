#pragma once
// The handheld's run-application-at-time service (CeRunAppAtTime): a program registers the local
// time at which the device is to start it, or cancels its start. Each program has at most one
// pending start; registering again replaces it. The device's scheduler (tavrel-device scheduler)
// starts each program when its time has passed (within the second after it), with the command line
// "AppRunAtTime".

#include "platform/device/SystemTime.h"
#include "platform/device/WideText.h"

#include <optional>
#include <string>

namespace scheduler {

// Registers the start of `program` (its device path) at `localTime`, or with no time cancels its
// pending start. False, with a reason, when the path names no program, the time is no date-time of
// years 100-9999, or the start cannot be recorded.
[[nodiscard]] bool runAppAtTime(
    device::WideView program, const std::optional<device::SystemTime>& localTime, std::string* error = nullptr);

// The pending start of `program`, if any.
std::optional<device::SystemTime> pendingStart(device::WideView program);

} // namespace scheduler
