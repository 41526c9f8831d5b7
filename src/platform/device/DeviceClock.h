#pragma once
// The device clock: every use of "now" on the device comes through here.
//
// The local time is the host's local time, unless TAVREL_CLOCK=YYYY-MM-DDTHH:MM:SS is set: then
// the clock starts at that local time when the process first asks for it and runs on from there
// in real time, so that runs and tests are repeatable. A malformed value is ignored with one line
// on standard error, headed by the program's name. Tests pin the clock directly with setForTesting, which also lets them freeze
// it and move it on by hand.
//
// The tick count and the high-resolution counter come from the host's monotonic clock and are
// never pinned: like the handheld's, they measure intervals, not dates.

#include "platform/device/SystemTime.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace device {

class DeviceClock {
public:
    enum class Flow { RunsOn, Frozen };

    // Reads TAVREL_CLOCK now rather than at the first use of the clock, so that a malformed value is
    // reported at start by every program, whether or not it asks for the time. Programs call it
    // through DeviceFolder::selectForProgram.
    static void readSetting();

    // The local date-time (the handheld's GetLocalTime), milliseconds included.
    static SystemTime localNow();
    // The local date-time as an automation date, to the whole second.
    static double localNowAsVariantTime();
    // The same moment as an instant of the host's clock (a pinned local time read in the host's
    // time zone), for stamping files and measuring their age in device time.
    static std::chrono::system_clock::time_point instantNow();

    // Milliseconds of the monotonic clock, wrapping at 2^32 (the handheld's GetTickCount).
    static std::uint32_t tickCount();
    // The high-resolution counter and its ticks per second (QueryPerformanceCounter/Frequency).
    static std::int64_t performanceCounter();
    static std::int64_t performanceFrequency();

    // Pins the local clock to `localStart` from this moment; it runs on in real time or stays
    // where it is. False (and nothing changes) when the record is no valid date-time.
    static bool setForTesting(const SystemTime& localStart, Flow flow = Flow::RunsOn);
    // Moves a pinned clock on (or back); no effect on the host clock.
    static void advanceForTesting(std::chrono::milliseconds amount);
    // Forgets any pin; the next use reads TAVREL_CLOCK again.
    static void resetForTesting();

    // Reads a TAVREL_CLOCK value: YYYY-MM-DDTHH:MM:SS, a valid local date-time of years 100-9999.
    static std::optional<SystemTime> parseClockSetting(std::string_view text);
    // Writes a record in that form.
    static std::string formatClockSetting(const SystemTime& time);
    // The TAVREL_CLOCK value that lets a program started now share this clock: the local time of a
    // pinned clock (by TAVREL_CLOCK or a test), to the second; nothing while the clock is the host's.
    // Without it a started program would begin again at the time the setting names.
    static std::optional<std::string> settingForStartedProgram();
};

} // namespace device
