#pragma once
// What the device's scheduler does on each pass: it takes the pending starts whose time has come
// (PendingStarts::takeDue, which removes them) and starts each program through the program table
// with the command line "AppRunAtTime", as the handheld does. A start that fails is reported and
// not retried: its time has passed, and the program registers a new one when it next runs.

#include "platform/scheduler/PendingStarts.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace scheduler {

struct StartOutcome {
    PendingStart start;
    bool started = false;
    std::string error; // why it was not started
};

class DueStarts {
public:
    static constexpr const char16_t* CommandLine = u"AppRunAtTime";

    // Starts every program due at `now`; `error` tells why the pending starts could not be taken.
    static std::vector<StartOutcome> run(const device::SystemTime& now, std::string* error = nullptr);

    // How long a watching scheduler may sleep after `now`: until the earliest pending start is due
    // (the second after its time), but never longer than `longest`, so that starts registered
    // meanwhile are noticed.
    static std::chrono::milliseconds sleepBefore(const device::SystemTime& now, std::chrono::milliseconds longest);
};

} // namespace scheduler
