#include "platform/device/LocaleNames.h"

namespace device {

namespace {

constexpr WideView kMonths[12] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                  u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr WideView kWeekdays[7] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};

bool namesOrAbbreviates(WideView name, WideView word)
{
    return equalsNoCase(word, name) || (word.size() == 3 && equalsNoCase(word, name.substr(0, 3)));
}

} // namespace

WideView LocaleNames::monthName(int month)
{
    return month >= 1 && month <= 12 ? kMonths[month - 1] : WideView();
}

WideView LocaleNames::monthAbbreviation(int month)
{
    return monthName(month).substr(0, 3);
}

WideView LocaleNames::weekdayName(int weekday)
{
    return weekday >= 0 && weekday <= 6 ? kWeekdays[weekday] : WideView();
}

WideView LocaleNames::weekdayAbbreviation(int weekday)
{
    return weekdayName(weekday).substr(0, 3);
}

int LocaleNames::findMonth(WideView word)
{
    for (int i = 0; i < 12; ++i) {
        if (namesOrAbbreviates(kMonths[i], word))
            return i + 1;
    }
    return -1;
}

int LocaleNames::findWeekday(WideView word)
{
    for (int i = 0; i < 7; ++i) {
        if (namesOrAbbreviates(kWeekdays[i], word))
            return i;
    }
    return -1;
}

} // namespace device
