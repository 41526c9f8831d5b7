#pragma once
// What the locale's date conversions share: the handheld's flags and the errors they report.

#include <cstdint>
#include <string_view>

namespace device {

// Only the time part (the date becomes day zero, 30 December 1899) or only the date part (the
// time becomes midnight). When both are given, the time wins. Other bits are ignored.
constexpr std::uint32_t VAR_TIMEVALUEONLY = 0x1;
constexpr std::uint32_t VAR_DATEVALUEONLY = 0x2;

enum class DateError {
    None,
    TypeMismatch,    // the text is not a date-time (malformed, or a field out of range)
    Overflow,        // a well-formed date-time outside years 100-9999
    InvalidArgument, // a date number that is no representable date (not finite, out of range)
};

// The names the handheld's tools print: "Type Mismatch", "Overflow", "Invalid Argument".
std::string_view dateErrorName(DateError error);

} // namespace device
