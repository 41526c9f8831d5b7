#include "platform/device/DateFormatter.h"

#include "platform/device/VariantTime.h"

namespace device {

namespace {

void appendNumber(WideString& out, unsigned value, int minimumDigits = 1)
{
    WChar digits[10];
    int count = 0;
    do {
        digits[count++] = WChar(u'0' + value % 10);
        value /= 10;
    } while (value != 0 && count < 10);
    while (count < minimumDigits && count < 10)
        digits[count++] = u'0';
    while (count > 0)
        out += digits[--count];
}

} // namespace

void DateFormatter::appendDate(WideString& out, const SystemTime& time)
{
    appendNumber(out, time.month);
    out += u'/';
    appendNumber(out, time.day);
    out += u'/';
    appendNumber(out, time.year);
}

void DateFormatter::appendTime(WideString& out, const SystemTime& time)
{
    const unsigned hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    appendNumber(out, hour12);
    out += u':';
    appendNumber(out, time.minute, 2);
    out += u':';
    appendNumber(out, time.second, 2);
    out += time.hour < 12 ? u" AM" : u" PM";
}

DateError varBstrFromDate(double date, std::uint32_t flags, WideString& out)
{
    SystemTime time;
    if (!variantTimeToSystemTime(date, time))
        return DateError::InvalidArgument;
    bool showDate = true;
    bool showTime = true;
    if (flags & VAR_TIMEVALUEONLY) {
        showDate = false;
    } else if (flags & VAR_DATEVALUEONLY) {
        showTime = false;
    } else {
        const bool dayZero = time.year == 1899 && time.month == 12 && time.day == 30;
        const bool midnight = time.hour == 0 && time.minute == 0 && time.second == 0;
        showDate = !dayZero;
        showTime = dayZero || !midnight;
    }
    WideString text;
    text.reserve(24);
    if (showDate)
        DateFormatter::appendDate(text, time);
    if (showDate && showTime)
        text += u' ';
    if (showTime)
        DateFormatter::appendTime(text, time);
    out = std::move(text);
    return DateError::None;
}

} // namespace device
