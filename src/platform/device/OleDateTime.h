#pragma once
// The framework's date-time value: an automation date (local time) with a status. It is what the
// calendar passes around for every start, end, view date and reminder.
//
// Comparison and arithmetic work on the true time line (see VariantTime.h), so 29 December 1899
// 06:00 (-1.25) comes before 18:00 of that day (-1.75). Arithmetic results are whole milliseconds;
// construction from fields and from text gives whole seconds.
//
// Getters of a date-time that is not valid return -1, and its texts are empty.

#include "platform/device/DateTimeStatus.h"
#include "platform/device/OleDateTimeSpan.h"
#include "platform/device/SystemTime.h"
#include "platform/device/WideText.h"

#include <compare>
#include <cstdint>

namespace device {

class OleDateTime {
public:
    using Status = DateTimeStatus;

    OleDateTime() = default; // day zero, 30 December 1899 00:00:00, valid
    // Invalid when the number is no date of years 100-9999.
    explicit OleDateTime(double date);
    // Invalid unless year 100-9999, month 1-12, a day of that month, hour 0-23, minute and second
    // 0-59.
    OleDateTime(int year, int month, int day, int hour, int minute, int second);
    // Milliseconds and the day of week are not read.
    explicit OleDateTime(const SystemTime& time);

    // The device clock's local time, to the second.
    static OleDateTime GetCurrentTime();

    Status GetStatus() const { return m_status; }
    void SetStatus(Status status) { m_status = status; }
    // The automation date.
    double GetValue() const { return m_dt; }
    bool GetAsSystemTime(SystemTime& out) const;

    int GetYear() const;
    int GetMonth() const;     // 1-12
    int GetDay() const;       // 1-31
    int GetHour() const;      // 0-23
    int GetMinute() const;    // 0-59
    int GetSecond() const;    // 0-59
    int GetDayOfWeek() const; // 1 = Sunday ... 7 = Saturday
    int GetDayOfYear() const; // 1 = 1 January

    // Each sets the whole value and makes it valid; out-of-range fields make it invalid and
    // return false. SetDate gives midnight of the day; SetTime gives that time on day zero.
    bool SetDateTime(int year, int month, int day, int hour, int minute, int second);
    bool SetDate(int year, int month, int day);
    bool SetTime(int hour, int minute, int second);

    // Reads the locale's text (DateParser.h) with VAR_DATEVALUEONLY / VAR_TIMEVALUEONLY; text that
    // does not parse makes the value invalid and returns false.
    bool ParseDateTime(WideView text, std::uint32_t flags = 0);
    // The locale's text (DateFormatter.h): "12/8/2026 3:45:00 PM", "12/8/2026", "3:45:00 PM".
    WideString Format(std::uint32_t flags = 0) const;
    // A strftime-style pattern (DatePattern.h): Format(u"%A, %B %#d, %Y").
    WideString Format(WideView pattern) const;

    // An invalid operand gives an invalid result, a null one a null result, and a result outside
    // years 100-9999 is invalid.
    OleDateTime operator+(const OleDateTimeSpan& span) const;
    OleDateTime operator-(const OleDateTimeSpan& span) const;
    OleDateTime& operator+=(const OleDateTimeSpan& span) { return *this = *this + span; }
    OleDateTime& operator-=(const OleDateTimeSpan& span) { return *this = *this - span; }
    OleDateTimeSpan operator-(const OleDateTime& other) const;

    // Equal when the status is the same and, for valid values, the instant; only valid values are
    // ordered, so an invalid or null date-time is never equal to, before or after a valid one.
    bool operator==(const OleDateTime& other) const;
    std::partial_ordering operator<=>(const OleDateTime& other) const;

private:
    bool parts(SystemTime& out) const;
    void setInvalid();

    double m_dt = 0;
    Status m_status = Status::Valid;
};

} // namespace device
