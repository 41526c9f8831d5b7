#include "platform/device/OleDateTime.h"

#include "platform/device/CivilDate.h"
#include "platform/device/DateFormatter.h"
#include "platform/device/DateParser.h"
#include "platform/device/DatePattern.h"
#include "platform/device/DeviceClock.h"
#include "platform/device/VariantTime.h"

#include <cmath>

namespace device {

OleDateTime::OleDateTime(double date) : m_dt(date)
{
    SystemTime unused;
    if (!variantTimeToSystemTime(date, unused))
        m_status = Status::Invalid;
}

OleDateTime::OleDateTime(int year, int month, int day, int hour, int minute, int second)
{
    SetDateTime(year, month, day, hour, minute, second);
}

OleDateTime::OleDateTime(const SystemTime& time)
{
    if (!systemTimeToVariantTime(time, m_dt))
        setInvalid();
}

OleDateTime OleDateTime::GetCurrentTime()
{
    return OleDateTime(DeviceClock::localNowAsVariantTime());
}

void OleDateTime::setInvalid()
{
    m_dt = 0;
    m_status = Status::Invalid;
}

bool OleDateTime::parts(SystemTime& out) const
{
    return m_status == Status::Valid && variantTimeToSystemTime(m_dt, out);
}

bool OleDateTime::GetAsSystemTime(SystemTime& out) const
{
    return parts(out);
}

int OleDateTime::GetYear() const
{
    SystemTime t;
    return parts(t) ? t.year : -1;
}

int OleDateTime::GetMonth() const
{
    SystemTime t;
    return parts(t) ? t.month : -1;
}

int OleDateTime::GetDay() const
{
    SystemTime t;
    return parts(t) ? t.day : -1;
}

int OleDateTime::GetHour() const
{
    SystemTime t;
    return parts(t) ? t.hour : -1;
}

int OleDateTime::GetMinute() const
{
    SystemTime t;
    return parts(t) ? t.minute : -1;
}

int OleDateTime::GetSecond() const
{
    SystemTime t;
    return parts(t) ? t.second : -1;
}

int OleDateTime::GetDayOfWeek() const
{
    SystemTime t;
    return parts(t) ? t.dayOfWeek + 1 : -1;
}

int OleDateTime::GetDayOfYear() const
{
    SystemTime t;
    return parts(t) ? CivilDate(t.year, t.month, t.day).dayOfYear() : -1;
}

bool OleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second)
{
    // The fields are checked as ints: a record's 16-bit fields would wrap a negative or huge value
    // into a plausible one.
    const CivilDate date(year, month, day);
    if (year < kFirstYear || year > kLastYear || !date.isValid() || hour < 0 || hour > 23 || minute < 0
        || minute > 59 || second < 0 || second > 59) {
        setInvalid();
        return false;
    }
    m_dt = composeVariantTime(date.dayNumber(), std::int64_t(hour) * 3600 + minute * 60 + second);
    m_status = Status::Valid;
    return true;
}

bool OleDateTime::SetDate(int year, int month, int day)
{
    return SetDateTime(year, month, day, 0, 0, 0);
}

bool OleDateTime::SetTime(int hour, int minute, int second)
{
    return SetDateTime(1899, 12, 30, hour, minute, second);
}

bool OleDateTime::ParseDateTime(WideView text, std::uint32_t flags)
{
    double date = 0;
    if (varDateFromStr(text, flags, date) != DateError::None) {
        setInvalid();
        return false;
    }
    m_dt = date;
    m_status = Status::Valid;
    return true;
}

WideString OleDateTime::Format(std::uint32_t flags) const
{
    WideString text;
    if (m_status == Status::Valid)
        varBstrFromDate(m_dt, flags, text);
    return text;
}

WideString OleDateTime::Format(WideView pattern) const
{
    SystemTime t;
    return parts(t) ? DatePattern::format(t, pattern) : WideString();
}

OleDateTime OleDateTime::operator+(const OleDateTimeSpan& span) const
{
    OleDateTime result;
    if (m_status == Status::Invalid || span.GetStatus() == Status::Invalid) {
        result.setInvalid();
        return result;
    }
    if (m_status == Status::Null || span.GetStatus() == Status::Null) {
        result.m_status = Status::Null;
        return result;
    }
    const auto start = variantTimeToMilliseconds(m_dt);
    const double spanMilliseconds = span.GetTotalDays() * double(kMillisecondsPerDay);
    if (!start) {
        result.setInvalid();
        return result;
    }
    const std::int64_t end = *start + std::llround(spanMilliseconds);
    if (!isRepresentableMilliseconds(end)) {
        result.setInvalid();
        return result;
    }
    result.m_dt = millisecondsToVariantTime(end);
    return result;
}

OleDateTime OleDateTime::operator-(const OleDateTimeSpan& span) const
{
    return *this + -span;
}

OleDateTimeSpan OleDateTime::operator-(const OleDateTime& other) const
{
    OleDateTimeSpan result;
    if (m_status == Status::Invalid || other.m_status == Status::Invalid) {
        result.SetStatus(Status::Invalid);
        return result;
    }
    if (m_status == Status::Null || other.m_status == Status::Null) {
        result.SetStatus(Status::Null);
        return result;
    }
    const auto end = variantTimeToMilliseconds(m_dt);
    const auto start = variantTimeToMilliseconds(other.m_dt);
    if (!end || !start) {
        result.SetStatus(Status::Invalid);
        return result;
    }
    return OleDateTimeSpan(double(*end - *start) / double(kMillisecondsPerDay));
}

bool OleDateTime::operator==(const OleDateTime& other) const
{
    if (m_status != other.m_status)
        return false;
    if (m_status == Status::Valid)
        return variantTimeToLinear(m_dt) == variantTimeToLinear(other.m_dt);
    return m_dt == other.m_dt;
}

std::partial_ordering OleDateTime::operator<=>(const OleDateTime& other) const
{
    if (m_status == Status::Valid && other.m_status == Status::Valid)
        return variantTimeToLinear(m_dt) <=> variantTimeToLinear(other.m_dt);
    return *this == other ? std::partial_ordering::equivalent : std::partial_ordering::unordered;
}

} // namespace device
