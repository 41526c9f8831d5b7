#pragma once
// The device's pending program starts: at most one per program, each a program's device path and the
// local date-time at which it is to be started. They are kept in the registry, under
// HKEY_LOCAL_MACHINE "System\RunAppAtTime", one text value per program (the device path as the
// value's name, the time as "YYYY-MM-DDTHH:MM:SS"), so every program of the device sees the same
// starts whichever process wrote them.
//
// Changes go through one named mutex of the device, so a start that the scheduler takes while a
// program registers a new time is never lost: either the scheduler sees the new time, or the new
// time is written after the old one has been taken.

#include "platform/device/SystemTime.h"
#include "platform/device/WideText.h"

#include <optional>
#include <string>
#include <vector>

namespace scheduler {

struct PendingStart {
    device::WideString program; // the device path, as first registered
    device::SystemTime time; // local time, whole seconds
};

class PendingStarts {
public:
    static constexpr const char16_t* KeyPath = u"System\\RunAppAtTime";
    static constexpr const char16_t* MutexName = u"RunAppAtTime";

    // Registers the start of `program` at `localTime`, replacing its pending one. False, with a
    // reason, for a path that is no device path, a time that is no date-time of years 100-9999, or
    // a registry that cannot be written.
    [[nodiscard]] static bool set(
        device::WideView program, const device::SystemTime& localTime, std::string* error = nullptr);
    // Removes the pending start of `program`; true also when there was none.
    [[nodiscard]] static bool cancel(device::WideView program, std::string* error = nullptr);

    static std::optional<device::SystemTime> find(device::WideView program);
    // Every pending start, earliest first; entries whose time cannot be read are left out.
    static std::vector<PendingStart> list();
    // Removes and returns the starts due at `now`, earliest first. A start is due once its second
    // has passed (9:00:00 at 9:00:01): a program started then finds the device clock past the time
    // it asked for, so whatever it meant to do at that time is due when it looks.
    static std::vector<PendingStart> takeDue(const device::SystemTime& now, std::string* error = nullptr);

    // Whether `a` lies before `b` (to the second).
    static bool isEarlier(const device::SystemTime& a, const device::SystemTime& b);
};

} // namespace scheduler
