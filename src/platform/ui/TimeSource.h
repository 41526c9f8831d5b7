#pragma once
// The time that the message loop's timers, the tap-and-hold gesture and script waits run on, in
// milliseconds from an arbitrary start. Programs use the steady host clock. Tests use the virtual
// one: it stands still while there is work to do and jumps straight to the next deadline when the
// loop would otherwise wait, so that a test of a 10-second timer takes no time and always sees the
// same order of events.

#include <atomic>
#include <cstdint>
#include <memory>

namespace ui {

class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual std::uint64_t now() const = 0;
    // A virtual source is advanced by the loop instead of being waited for.
    virtual bool isVirtual() const = 0;
    // Moves virtual time forward to `time` (never backwards); ignored by the host clock.
    virtual void advanceTo(std::uint64_t time) = 0;

    static std::unique_ptr<TimeSource> steady();
    static std::unique_ptr<TimeSource> makeVirtual(std::uint64_t start = 1000);
};

} // namespace ui
