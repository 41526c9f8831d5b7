#pragma once
// A length of time between two date-times, in days (the fraction being part of a day), with a
// status like the date-time's own. Spans may be negative; their components then are too.

#include "platform/device/DateTimeStatus.h"

#include <compare>
#include <cstdint>

namespace device {

class OleDateTimeSpan {
public:
    using Status = DateTimeStatus;

    OleDateTimeSpan() = default; // zero, valid
    // Invalid when not finite or longer than the whole range of representable dates.
    explicit OleDateTimeSpan(double days);
    // The components may lie outside their usual ranges and carry any sign: (0, 36, 0, 0) is a
    // day and a half, (1, -1, 0, 0) twenty-three hours.
    OleDateTimeSpan(std::int64_t days, int hours, int minutes, int seconds);

    Status GetStatus() const { return m_status; }
    void SetStatus(Status status) { m_status = status; }
    void SetDateTimeSpan(std::int64_t days, int hours, int minutes, int seconds);

    // The span to the nearest second, split into whole days and the hours (0-23), minutes and
    // seconds (0-59) left over; all carry the span's sign. 0 for a span that is not valid.
    std::int64_t GetDays() const;
    int GetHours() const;
    int GetMinutes() const;
    int GetSeconds() const;

    // The whole span in one unit; 0 for a span that is not valid.
    double GetTotalDays() const;
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;

    // An invalid operand gives an invalid result; otherwise a null operand a null one. Sums are
    // to the millisecond.
    OleDateTimeSpan operator+(const OleDateTimeSpan& other) const;
    OleDateTimeSpan operator-(const OleDateTimeSpan& other) const;
    OleDateTimeSpan operator-() const;
    OleDateTimeSpan& operator+=(const OleDateTimeSpan& other) { return *this = *this + other; }
    OleDateTimeSpan& operator-=(const OleDateTimeSpan& other) { return *this = *this - other; }

    // Equal when status and length are; only valid spans are ordered.
    bool operator==(const OleDateTimeSpan& other) const;
    std::partial_ordering operator<=>(const OleDateTimeSpan& other) const;

private:
    static Status combined(Status a, Status b);
    std::int64_t roundedSeconds() const;

    double m_span = 0;
    Status m_status = Status::Valid;
};

} // namespace device
