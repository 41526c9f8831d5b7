#include "platform/device/DeviceClock.h"

#include "platform/device/CivilDate.h"
#include "platform/device/VariantTime.h"

#include <cerrno> // program_invocation_short_name
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>

namespace device {

namespace {

using Steady = std::chrono::steady_clock;

// The clock's one piece of process-wide state. A pinned clock keeps the local instant it was
// pinned to (milliseconds on the automation-date time line) and the monotonic moment it was
// pinned at; the local time is then the one plus what has passed since the other.
struct ClockState {
    std::mutex mutex;
    bool configured = false;
    bool pinned = false;
    bool frozen = false;
    std::int64_t pinnedMilliseconds = 0;
    Steady::time_point pinnedAt;
};

ClockState& state()
{
    static ClockState instance;
    return instance;
}

std::int64_t toMilliseconds(const SystemTime& time)
{
    const CivilDate date(time.year, time.month, time.day);
    return date.dayNumber() * kMillisecondsPerDay
        + ((std::int64_t(time.hour) * 60 + time.minute) * 60 + time.second) * 1000 + time.milliseconds;
}

SystemTime fromMilliseconds(std::int64_t milliseconds)
{
    std::int64_t day = milliseconds / kMillisecondsPerDay;
    std::int64_t intoDay = milliseconds % kMillisecondsPerDay;
    if (intoDay < 0) {
        intoDay += kMillisecondsPerDay;
        --day;
    }
    const CivilDate date = CivilDate::fromDayNumber(day);
    SystemTime time;
    time.year = std::uint16_t(date.year());
    time.month = std::uint16_t(date.month());
    time.day = std::uint16_t(date.day());
    time.dayOfWeek = std::uint16_t(CivilDate::dayOfWeek(day));
    time.hour = std::uint16_t(intoDay / 3'600'000);
    time.minute = std::uint16_t(intoDay / 60'000 % 60);
    time.second = std::uint16_t(intoDay / 1000 % 60);
    time.milliseconds = std::uint16_t(intoDay % 1000);
    return time;
}

bool isValidRecord(const SystemTime& time)
{
    const CivilDate date(time.year, time.month, time.day);
    return time.year >= kFirstYear && time.year <= kLastYear && date.isValid() && time.hour <= 23
        && time.minute <= 59 && time.second <= 59 && time.milliseconds <= 999;
}

SystemTime hostLocalNow()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    SystemTime time;
    time.year = std::uint16_t(local.tm_year + 1900);
    time.month = std::uint16_t(local.tm_mon + 1);
    time.day = std::uint16_t(local.tm_mday);
    time.dayOfWeek = std::uint16_t(local.tm_wday);
    time.hour = std::uint16_t(local.tm_hour);
    time.minute = std::uint16_t(local.tm_min);
    // A leap second shows as 23:59:60 on some hosts; the device has none.
    time.second = std::uint16_t(local.tm_sec > 59 ? 59 : local.tm_sec);
    time.milliseconds = std::uint16_t(((sinceEpoch % 1000) + 1000) % 1000);
    return time;
}

// Quotes a setting for a diagnostic line: printable ASCII only, and not too much of it.
std::string printable(std::string_view text)
{
    std::string result;
    for (char c : text.substr(0, 64))
        result += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (text.size() > 64)
        result += "...";
    return result;
}

void pin(ClockState& clock, const SystemTime& localStart, bool frozen)
{
    clock.pinned = true;
    clock.frozen = frozen;
    clock.pinnedMilliseconds = toMilliseconds(localStart);
    clock.pinnedAt = Steady::now();
}

// Called with the lock held.
void configureFromEnvironment(ClockState& clock)
{
    if (clock.configured)
        return;
    clock.configured = true;
    clock.pinned = false;
    const char* setting = std::getenv("TAVREL_CLOCK");
    if (!setting || !*setting)
        return;
    if (const auto start = DeviceClock::parseClockSetting(setting)) {
        pin(clock, *start, false);
        return;
    }
    std::fprintf(stderr, "%s: ignoring TAVREL_CLOCK=\"%s\" (expected YYYY-MM-DDTHH:MM:SS); using the host clock\n",
                 program_invocation_short_name, printable(setting).c_str());
}

std::int64_t pinnedNow(const ClockState& clock)
{
    if (clock.frozen)
        return clock.pinnedMilliseconds;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - clock.pinnedAt);
    return clock.pinnedMilliseconds + elapsed.count();
}

} // namespace

void DeviceClock::readSetting()
{
    ClockState& clock = state();
    std::lock_guard lock(clock.mutex);
    configureFromEnvironment(clock);
}

SystemTime DeviceClock::localNow()
{
    ClockState& clock = state();
    std::lock_guard lock(clock.mutex);
    configureFromEnvironment(clock);
    if (!clock.pinned)
        return hostLocalNow();
    std::int64_t now = pinnedNow(clock);
    // A clock pinned (or moved) near the ends of years 100-9999 stops there rather than leaving
    // the calendar.
    const std::int64_t first = kFirstDayNumber * kMillisecondsPerDay;
    const std::int64_t last = (kLastDayNumber + 1) * kMillisecondsPerDay - 1;
    if (now < first)
        now = first;
    if (now > last)
        now = last;
    return fromMilliseconds(now);
}

double DeviceClock::localNowAsVariantTime()
{
    SystemTime now = localNow();
    now.milliseconds = 0;
    double date = 0;
    systemTimeToVariantTime(now, date);
    return date;
}

std::chrono::system_clock::time_point DeviceClock::instantNow()
{
    {
        ClockState& clock = state();
        std::lock_guard lock(clock.mutex);
        configureFromEnvironment(clock);
        if (!clock.pinned)
            return std::chrono::system_clock::now();
    }
    const SystemTime now = localNow();
    std::tm local{};
    local.tm_year = now.year - 1900;
    local.tm_mon = now.month - 1;
    local.tm_mday = now.day;
    local.tm_hour = now.hour;
    local.tm_min = now.minute;
    local.tm_sec = now.second;
    local.tm_isdst = -1; // the host's zone decides whether summer time applies
    const std::time_t seconds = std::mktime(&local);
    return std::chrono::system_clock::from_time_t(seconds) + std::chrono::milliseconds(now.milliseconds);
}

std::uint32_t DeviceClock::tickCount()
{
    const auto sinceStart = std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now().time_since_epoch());
    return std::uint32_t(std::uint64_t(sinceStart.count()));
}

std::int64_t DeviceClock::performanceCounter()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Steady::now().time_since_epoch()).count();
}

std::int64_t DeviceClock::performanceFrequency()
{
    return 1'000'000'000;
}

bool DeviceClock::setForTesting(const SystemTime& localStart, Flow flow)
{
    if (!isValidRecord(localStart))
        return false;
    ClockState& clock = state();
    std::lock_guard lock(clock.mutex);
    clock.configured = true;
    pin(clock, localStart, flow == Flow::Frozen);
    return true;
}

void DeviceClock::advanceForTesting(std::chrono::milliseconds amount)
{
    ClockState& clock = state();
    std::lock_guard lock(clock.mutex);
    if (clock.pinned)
        clock.pinnedMilliseconds += amount.count();
}

void DeviceClock::resetForTesting()
{
    ClockState& clock = state();
    std::lock_guard lock(clock.mutex);
    clock.configured = false;
    clock.pinned = false;
    clock.frozen = false;
}

std::string DeviceClock::formatClockSetting(const SystemTime& time)
{
    char text[64]; // room for any 16-bit field values, so the compiler can see nothing is cut
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", unsigned(time.year), unsigned(time.month),
                  unsigned(time.day), unsigned(time.hour), unsigned(time.minute), unsigned(time.second));
    return text;
}

std::optional<std::string> DeviceClock::settingForStartedProgram()
{
    {
        ClockState& clock = state();
        std::lock_guard lock(clock.mutex);
        configureFromEnvironment(clock);
        if (!clock.pinned)
            return std::nullopt;
    }
    return formatClockSetting(localNow());
}

std::optional<SystemTime> DeviceClock::parseClockSetting(std::string_view text)
{
    // Exactly "YYYY-MM-DDTHH:MM:SS": digits where the pattern has 'D', the literal elsewhere.
    constexpr std::string_view kPattern = "DDDD-DD-DDTDD:DD:DD";
    if (text.size() != kPattern.size())
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'D' ? !digit : text[i] != kPattern[i])
            return std::nullopt;
    }
    auto field = [&](std::size_t at, std::size_t length) {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i)
            value = value * 10 + (text[i] - '0');
        return std::uint16_t(value);
    };
    SystemTime time;
    time.year = field(0, 4);
    time.month = field(5, 2);
    time.day = field(8, 2);
    time.hour = field(11, 2);
    time.minute = field(14, 2);
    time.second = field(17, 2);
    if (!isValidRecord(time))
        return std::nullopt;
    time.dayOfWeek = std::uint16_t(CivilDate::dayOfWeek(CivilDate(time.year, time.month, time.day).dayNumber()));
    return time;
}

} // namespace device
