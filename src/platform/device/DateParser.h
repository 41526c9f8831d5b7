#pragma once
// Reading date-times written in English (United States), as the handheld's VarDateFromStr reads
// them:
//   dates   12/8/2026  12/08/26  12-8-2026  12.8.2026  2026-12-08  12/8 (this year)  12/2026
//           Dec 8, 2026  December 8 2026  8 December 2026  8-Dec-2026  Dec 8  December 2026
//   times   15:45  15:45:10  3:45 PM  3:45:10 pm  3 PM  3PM
// A date, a time, or both in either order; a leading weekday name ("Tue, Dec 8, 2026") is passed
// over; blanks around and between the parts do not matter. Month and weekday names are taken in
// full or by their first three letters, in any letter case. Years of one or two digits fall in
// 1930-2029; years of three or more digits are taken as written. A missing year is the device
// clock's current year, a missing day of a month-and-year date is the 1st.
//
// Whatever the text, the parser stays within a fixed number of tokens and digits, so no input can
// make it slow, overflow or read out of bounds.

#include "platform/device/CivilDate.h"
#include "platform/device/DateConversion.h"
#include "platform/device/WideText.h"

#include <cstddef>
#include <cstdint>

namespace device {

class DateParser {
public:
    struct Result {
        bool hasDate = false;
        std::int64_t dayNumber = 0; // days since 30 December 1899
        bool hasTime = false;
        int secondOfDay = 0;
    };

    // TypeMismatch for text that is not a date-time (including out-of-range months, days, hours,
    // minutes and seconds); Overflow for a well-formed date outside years 100-9999.
    static DateError parse(WideView text, Result& out);

private:
    enum class Kind { Number, Month, Weekday, Meridiem, Colon, DateSeparator, Comma };
    struct Token {
        Kind kind = Kind::Number;
        std::int64_t value = 0; // number; month 1-12; weekday 0-6; meridiem 0 = AM, 1 = PM
        int digits = 0;         // numbers: how many digits were written
        WChar separator = 0;    // date separators: which one
    };
    struct Number {
        std::int64_t value = 0;
        int digits = 0;
    };

    // Longer than any date-time the grammar accepts; a text with more tokens is no date.
    static constexpr std::size_t kMaxTokens = 24;
    static constexpr int kMaxDigits = 9;
    static constexpr int kMaxWordLength = 9; // "September", "Wednesday"

    DateParser() = default;

    bool tokenize(WideView text);
    DateError parseItems(Result& out);
    DateError parseTime(Result& out);
    DateError parseDate(Result& out);
    DateError parseNamedDate(Result& out);
    DateError parseNumericDate(Result& out);

    bool at(Kind kind, std::size_t offset = 0) const;
    const Token& token(std::size_t offset = 0) const { return m_tokens[m_position + offset]; }
    bool startsTime(std::size_t offset = 0) const;
    bool startsDateComponent(std::size_t offset) const;

    static std::int64_t yearOf(const Number& number);
    static std::int64_t currentYear();
    static DateError checkDate(std::int64_t year, std::int64_t month, const Number& day, Result& out);

    Token m_tokens[kMaxTokens];
    std::size_t m_count = 0;
    std::size_t m_position = 0;
};

// The handheld's VarDateFromStr: on success the automation date of the text (day zero for a time
// alone, midnight for a date alone), reduced to its time or date part by VAR_TIMEVALUEONLY or
// VAR_DATEVALUEONLY. On failure `out` is left as it was.
DateError varDateFromStr(WideView text, std::uint32_t flags, double& out);

} // namespace device
