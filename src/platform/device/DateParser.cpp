#include "platform/device/DateParser.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/LocaleNames.h"
#include "platform/device/VariantTime.h"

namespace device {

namespace {

bool isBlank(WChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u00A0';
}

bool isDigit(WChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isLetter(WChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

} // namespace

DateError DateParser::parse(WideView text, Result& out)
{
    DateParser parser;
    if (!parser.tokenize(text))
        return DateError::TypeMismatch;
    Result result;
    const DateError error = parser.parseItems(result);
    if (error == DateError::None)
        out = result;
    return error;
}

bool DateParser::tokenize(WideView text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const WChar c = text[i];
        if (isBlank(c)) {
            ++i;
            continue;
        }
        if (m_count == kMaxTokens)
            return false;
        Token& token = m_tokens[m_count];
        token = Token();
        if (isDigit(c)) {
            token.kind = Kind::Number;
            while (i < text.size() && isDigit(text[i])) {
                if (++token.digits > kMaxDigits)
                    return false;
                token.value = token.value * 10 + (text[i] - u'0');
                ++i;
            }
        } else if (isLetter(c)) {
            const std::size_t start = i;
            while (i < text.size() && isLetter(text[i])) {
                if (i - start == kMaxWordLength)
                    return false;
                ++i;
            }
            const WideView word = text.substr(start, i - start);
            if (int month = LocaleNames::findMonth(word); month > 0) {
                token.kind = Kind::Month;
                token.value = month;
            } else if (int weekday = LocaleNames::findWeekday(word); weekday >= 0) {
                token.kind = Kind::Weekday;
                token.value = weekday;
            } else if (equalsNoCase(word, u"AM") || equalsNoCase(word, u"PM")) {
                token.kind = Kind::Meridiem;
                token.value = foldUpper(word[0]) == u'P' ? 1 : 0;
            } else {
                return false;
            }
        } else if (c == u':') {
            token.kind = Kind::Colon;
            ++i;
        } else if (c == u'/' || c == u'-' || c == u'.') {
            token.kind = Kind::DateSeparator;
            token.separator = c;
            ++i;
        } else if (c == u',') {
            token.kind = Kind::Comma;
            ++i;
        } else {
            return false;
        }
        ++m_count;
    }
    return true;
}

bool DateParser::at(Kind kind, std::size_t offset) const
{
    return m_position + offset < m_count && m_tokens[m_position + offset].kind == kind;
}

bool DateParser::startsTime(std::size_t offset) const
{
    return at(Kind::Number, offset) && (at(Kind::Colon, offset + 1) || at(Kind::Meridiem, offset + 1));
}

bool DateParser::startsDateComponent(std::size_t offset) const
{
    return at(Kind::Month, offset) || (at(Kind::Number, offset) && !startsTime(offset));
}

DateError DateParser::parseItems(Result& out)
{
    if (at(Kind::Weekday)) {
        ++m_position;
        if (at(Kind::Comma))
            ++m_position;
    }
    if (m_position == m_count)
        return DateError::TypeMismatch; // nothing, or nothing but a weekday
    while (m_position < m_count) {
        if (out.hasDate || out.hasTime) {
            if (at(Kind::Comma))
                ++m_position; // "Dec 8, 2026, 3:45 PM"
            if (m_position == m_count)
                return DateError::TypeMismatch; // a dangling comma
        }
        const bool isTime = startsTime();
        if (isTime ? out.hasTime : out.hasDate)
            return DateError::TypeMismatch; // a second date or a second time
        const DateError error = isTime ? parseTime(out) : parseDate(out);
        if (error != DateError::None)
            return error;
    }
    return DateError::None;
}

DateError DateParser::parseTime(Result& out)
{
    const Token& hourToken = token();
    ++m_position;
    std::int64_t parts[2] = {0, 0};
    for (std::int64_t& part : parts) {
        if (!at(Kind::Colon))
            break;
        if (!at(Kind::Number, 1) || token(1).digits > 2)
            return DateError::TypeMismatch;
        part = token(1).value;
        m_position += 2;
    }
    if (hourToken.digits > 2 || parts[0] > 59 || parts[1] > 59)
        return DateError::TypeMismatch;
    std::int64_t hour = hourToken.value;
    if (at(Kind::Meridiem)) {
        if (hour > 12)
            return DateError::TypeMismatch;
        hour = hour % 12 + (token().value == 1 ? 12 : 0);
        ++m_position;
    } else if (hour > 23) {
        return DateError::TypeMismatch;
    }
    out.hasTime = true;
    out.secondOfDay = int(hour * 3600 + parts[0] * 60 + parts[1]);
    return DateError::None;
}

DateError DateParser::parseDate(Result& out)
{
    if (at(Kind::Month))
        return parseNamedDate(out);
    if (at(Kind::Number)) {
        if (at(Kind::Month, 1) || (at(Kind::DateSeparator, 1) && at(Kind::Month, 2)))
            return parseNamedDate(out);
        if (at(Kind::DateSeparator, 1) && at(Kind::Number, 2))
            return parseNumericDate(out);
    }
    return DateError::TypeMismatch;
}

DateError DateParser::parseNamedDate(Result& out)
{
    std::int64_t month = 0;
    Number numbers[2];
    int numberCount = 0;
    for (int components = 0; components < 3; ++components) {
        if (at(Kind::Month)) {
            if (month != 0)
                return DateError::TypeMismatch;
            month = token().value;
        } else if (startsDateComponent(0) && numberCount < 2) {
            numbers[numberCount++] = Number{token().value, token().digits};
        } else {
            break;
        }
        ++m_position;
        // One separator may stand between the parts ("8-Dec-2026", "Dec 8, 2026"), but only when
        // another part of this date follows; otherwise it belongs to what comes next.
        if ((at(Kind::DateSeparator) || at(Kind::Comma)) && startsDateComponent(1) && components < 2)
            ++m_position;
    }
    if (month == 0 || numberCount == 0)
        return DateError::TypeMismatch;

    if (numberCount == 2) {
        // The year comes last unless it is written with three or more digits ("2026 Dec 8").
        const bool yearFirst = numbers[0].digits >= 3;
        const Number& day = yearFirst ? numbers[1] : numbers[0];
        const Number& year = yearFirst ? numbers[0] : numbers[1];
        return checkDate(yearOf(year), month, day, out);
    }
    const Number& only = numbers[0];
    if (only.digits <= 2 && only.value <= 31)
        return checkDate(currentYear(), month, only, out); // "Dec 8"
    return checkDate(yearOf(only), month, Number{1, 1}, out); // "December 2026"
}

DateError DateParser::parseNumericDate(Result& out)
{
    const Number first{token().value, token().digits};
    const WChar separator = token(1).separator;
    const Number second{token(2).value, token(2).digits};
    m_position += 3;
    if (at(Kind::DateSeparator) && token().separator == separator && at(Kind::Number, 1)) {
        const Number third{token(1).value, token(1).digits};
        m_position += 2;
        if (second.digits > 2)
            return DateError::TypeMismatch;
        if (first.digits >= 3)
            return checkDate(yearOf(first), second.value, third, out); // 2026-12-08
        if (first.digits > 2)
            return DateError::TypeMismatch;
        return checkDate(yearOf(third), first.value, second, out); // 12/8/2026
    }
    if (first.digits >= 3 && second.digits <= 2)
        return checkDate(yearOf(first), second.value, Number{1, 1}, out); // 2026-12
    if (second.digits >= 3 && first.digits <= 2)
        return checkDate(yearOf(second), first.value, Number{1, 1}, out); // 12/2026
    if (first.digits > 2 || second.digits > 2)
        return DateError::TypeMismatch;
    return checkDate(currentYear(), first.value, second, out); // 12/8
}

std::int64_t DateParser::yearOf(const Number& number)
{
    if (number.digits > 2)
        return number.value;
    return number.value <= 29 ? 2000 + number.value : 1900 + number.value;
}

std::int64_t DateParser::currentYear()
{
    return DeviceClock::localNow().year;
}

DateError DateParser::checkDate(std::int64_t year, std::int64_t month, const Number& day, Result& out)
{
    if (month < 1 || month > 12 || day.digits > 2)
        return DateError::TypeMismatch;
    const CivilDate date(year, int(month), int(day.value));
    if (!date.isValid())
        return DateError::TypeMismatch;
    if (year < kFirstYear || year > kLastYear)
        return DateError::Overflow;
    out.hasDate = true;
    out.dayNumber = date.dayNumber();
    return DateError::None;
}

DateError varDateFromStr(WideView text, std::uint32_t flags, double& out)
{
    DateParser::Result parsed;
    const DateError error = DateParser::parse(text, parsed);
    if (error != DateError::None)
        return error;
    std::int64_t dayNumber = parsed.hasDate ? parsed.dayNumber : 0;
    std::int64_t secondOfDay = parsed.hasTime ? parsed.secondOfDay : 0;
    if (flags & VAR_TIMEVALUEONLY)
        dayNumber = 0;
    else if (flags & VAR_DATEVALUEONLY)
        secondOfDay = 0;
    out = composeVariantTime(dayNumber, secondOfDay);
    return DateError::None;
}

} // namespace device
