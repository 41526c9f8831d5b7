#pragma once
// Whether a date-time or a span holds a value: a valid one, an invalid one (out of range, or the
// result of a failed conversion), or deliberately none.

namespace device {

enum class DateTimeStatus { Valid, Invalid, Null };

} // namespace device
