#pragma once
// Something that acts when the message loop has nothing else to do, in whichever loop runs at that
// moment (a modal dialog's included): the script runner feeds its next input this way.

#include <cstdint>
#include <optional>

namespace ui {

class IdleAgent {
public:
    virtual ~IdleAgent() = default;
    // When the agent wants to run next (desktop time), or nothing while it has nothing to do.
    virtual std::optional<std::uint64_t> dueTime() const = 0;
    // Runs one step; called only when the loop is idle and dueTime() has come.
    virtual void runIdle() = 0;
};

} // namespace ui
