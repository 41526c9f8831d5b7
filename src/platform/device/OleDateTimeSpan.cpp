#include "platform/device/OleDateTimeSpan.h"

#include "platform/device/VariantTime.h"

#include <cmath>

namespace device {

namespace {

// Nothing longer separates two representable dates.
constexpr double kLongestSpan = double(kLastDayNumber - kFirstDayNumber + 1);

} // namespace

OleDateTimeSpan::OleDateTimeSpan(double days) : m_span(days)
{
    if (!std::isfinite(days) || std::fabs(days) > kLongestSpan)
        m_status = Status::Invalid;
}

OleDateTimeSpan::OleDateTimeSpan(std::int64_t days, int hours, int minutes, int seconds)
{
    SetDateTimeSpan(days, hours, minutes, seconds);
}

void OleDateTimeSpan::SetDateTimeSpan(std::int64_t days, int hours, int minutes, int seconds)
{
    const double limit = kLongestSpan * double(kSecondsPerDay);
    const double total = double(days) * double(kSecondsPerDay) + double(hours) * 3600.0 + double(minutes) * 60.0 + seconds;
    if (std::fabs(total) > limit) {
        m_span = 0;
        m_status = Status::Invalid;
        return;
    }
    // Whole seconds, counted exactly, divided once: equal spans get identical numbers.
    const std::int64_t exact = days * kSecondsPerDay + std::int64_t(hours) * 3600 + std::int64_t(minutes) * 60 + seconds;
    m_span = double(exact) / double(kSecondsPerDay);
    m_status = Status::Valid;
}

std::int64_t OleDateTimeSpan::roundedSeconds() const
{
    return m_status == Status::Valid ? std::llround(m_span * double(kSecondsPerDay)) : 0;
}

std::int64_t OleDateTimeSpan::GetDays() const
{
    return roundedSeconds() / kSecondsPerDay;
}

int OleDateTimeSpan::GetHours() const
{
    return int(roundedSeconds() % kSecondsPerDay / 3600);
}

int OleDateTimeSpan::GetMinutes() const
{
    return int(roundedSeconds() % 3600 / 60);
}

int OleDateTimeSpan::GetSeconds() const
{
    return int(roundedSeconds() % 60);
}

double OleDateTimeSpan::GetTotalDays() const
{
    return m_status == Status::Valid ? m_span : 0;
}

double OleDateTimeSpan::GetTotalHours() const
{
    return GetTotalDays() * 24.0;
}

double OleDateTimeSpan::GetTotalMinutes() const
{
    return GetTotalDays() * 1440.0;
}

double OleDateTimeSpan::GetTotalSeconds() const
{
    return GetTotalDays() * double(kSecondsPerDay);
}

OleDateTimeSpan::Status OleDateTimeSpan::combined(Status a, Status b)
{
    if (a == Status::Invalid || b == Status::Invalid)
        return Status::Invalid;
    if (a == Status::Null || b == Status::Null)
        return Status::Null;
    return Status::Valid;
}

OleDateTimeSpan OleDateTimeSpan::operator+(const OleDateTimeSpan& other) const
{
    const Status status = combined(m_status, other.m_status);
    if (status != Status::Valid) {
        OleDateTimeSpan result;
        result.m_status = status;
        return result;
    }
    // Summed in whole milliseconds, like date arithmetic, so that equal sums are equal numbers.
    const std::int64_t milliseconds = std::llround(m_span * double(kMillisecondsPerDay))
        + std::llround(other.m_span * double(kMillisecondsPerDay));
    return OleDateTimeSpan(double(milliseconds) / double(kMillisecondsPerDay));
}

OleDateTimeSpan OleDateTimeSpan::operator-(const OleDateTimeSpan& other) const
{
    return *this + -other;
}

OleDateTimeSpan OleDateTimeSpan::operator-() const
{
    OleDateTimeSpan result = *this;
    result.m_span = -m_span;
    return result;
}

bool OleDateTimeSpan::operator==(const OleDateTimeSpan& other) const
{
    return m_status == other.m_status && m_span == other.m_span;
}

std::partial_ordering OleDateTimeSpan::operator<=>(const OleDateTimeSpan& other) const
{
    if (m_status == Status::Valid && other.m_status == Status::Valid)
        return m_span <=> other.m_span;
    return *this == other ? std::partial_ordering::equivalent : std::partial_ordering::unordered;
}

} // namespace device
