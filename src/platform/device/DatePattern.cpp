#include "platform/device/DatePattern.h"

#include "platform/device/CivilDate.h"
#include "platform/device/DateFormatter.h"
#include "platform/device/LocaleNames.h"

namespace device {

namespace {

void appendPadded(WideString& out, unsigned value, int width, bool keepZeros)
{
    WChar digits[10];
    int count = 0;
    do {
        digits[count++] = WChar(u'0' + value % 10);
        value /= 10;
    } while (value != 0 && count < 10);
    while (keepZeros && count < width)
        digits[count++] = u'0';
    while (count > 0)
        out += digits[--count];
}

} // namespace

WideString DatePattern::format(const SystemTime& time, WideView pattern)
{
    WideString out;
    out.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != u'%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        std::size_t at = i + 1;
        const bool dropZeros = pattern[at] == u'#' && at + 1 < pattern.size();
        if (dropZeros)
            ++at;
        const bool keepZeros = !dropZeros;
        const unsigned hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
        switch (pattern[at]) {
        case u'a':
            out += LocaleNames::weekdayAbbreviation(time.dayOfWeek);
            break;
        case u'A':
            out += LocaleNames::weekdayName(time.dayOfWeek);
            break;
        case u'b':
            out += LocaleNames::monthAbbreviation(time.month);
            break;
        case u'B':
            out += LocaleNames::monthName(time.month);
            break;
        case u'd':
            appendPadded(out, time.day, 2, keepZeros);
            break;
        case u'j':
            appendPadded(out, unsigned(CivilDate(time.year, time.month, time.day).dayOfYear()), 3, keepZeros);
            break;
        case u'm':
            appendPadded(out, time.month, 2, keepZeros);
            break;
        case u'y':
            appendPadded(out, time.year % 100u, 2, keepZeros);
            break;
        case u'Y':
            appendPadded(out, time.year, 1, keepZeros);
            break;
        case u'H':
            appendPadded(out, time.hour, 2, keepZeros);
            break;
        case u'I':
            appendPadded(out, hour12, 2, keepZeros);
            break;
        case u'p':
            out += time.hour < 12 ? u"AM" : u"PM";
            break;
        case u'M':
            appendPadded(out, time.minute, 2, keepZeros);
            break;
        case u'S':
            appendPadded(out, time.second, 2, keepZeros);
            break;
        case u'w':
            appendPadded(out, time.dayOfWeek, 1, keepZeros);
            break;
        case u'x':
            DateFormatter::appendDate(out, time);
            break;
        case u'X':
            DateFormatter::appendTime(out, time);
            break;
        case u'c':
            DateFormatter::appendDate(out, time);
            out += u' ';
            DateFormatter::appendTime(out, time);
            break;
        case u'%':
            out += u'%';
            break;
        default:
            // Not a conversion: the text stays as written.
            out.append(pattern.substr(i, at - i + 1));
            break;
        }
        i = at;
    }
    return out;
}

} // namespace device
