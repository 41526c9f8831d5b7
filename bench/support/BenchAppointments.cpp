#include "BenchAppointments.h"

#include "platform/device/OleDateTime.h"
#include "platform/pim/Application.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>

namespace bench_support {

using device::OleDateTime;
using device::OleDateTimeSpan;

OleDateTime shownMonthFrom() { return OleDateTime(2026, 12, 1, 0, 0, 0); }

OleDateTime shownMonthTo() { return OleDateTime(2026, 12, 31, 23, 59, 59); }

std::u16string shownMonthQuery()
{
    return u"[End] >= \"" + shownMonthFrom().Format() + u"\" AND [Start] <= \"" + shownMonthTo().Format() + u"\"";
}

namespace {

void save(pim::Application& app, const OleDateTime& start, const char16_t* subject, const char16_t* categories,
          const std::function<void(pim::RecurrencePattern&)>& shape)
{
    std::unique_ptr<pim::Appointment> item = app.createItem(pim::olAppointmentItem);
    item->setStart(start);
    item->setEnd(start + OleDateTimeSpan(0, 1, 0, 0));
    item->setSubject(subject);
    item->setCategories(categories);
    item->recipients().add(u"Ann");
    if (shape)
        shape(item->getRecurrencePattern());
    if (!item->save())
        std::abort();
}

int countInShownMonth(pim::Application& app)
{
    std::unique_ptr<pim::Items> items = app.getDefaultFolder(pim::olFolderCalendar)->items();
    items->setIncludeRecurrences(true);
    int count = 0;
    for (auto item = items->find(shownMonthQuery()); item; item = items->findNext())
        ++count;
    return count;
}

} // namespace

// The store spans one month per 500 appointments, the shown month in the middle.
void fillStore(pim::Application& app, int size, std::span<const char16_t* const> subjects)
{
    const OleDateTime monthFrom = shownMonthFrom();
    const OleDateTime monthTo = shownMonthTo();
    std::mt19937 random(2026'12'08u + unsigned(size));
    const int months = std::max(3, size / kInShownMonth);
    const OleDateTime first = monthFrom - OleDateTimeSpan(double(months / 2 * 30));
    const double spanDays = months * 30.4;
    const auto anyDay = [&] { return first + OleDateTimeSpan(double(random() % unsigned(spanDays))); };
    const auto hourOf = [&](const OleDateTime& day) {
        return OleDateTime(day.GetYear(), day.GetMonth(), day.GetDay(), 7 + int(random() % 12), 0, 0);
    };
    const auto subject = [&] { return subjects.empty() ? u"Meeting" : subjects[random() % subjects.size()]; };

    for (int i = 0; i < kRecurringWeekly; ++i)
        save(app, hourOf(anyDay()), u"Weekly review", u"Business", [&](pim::RecurrencePattern& pattern) {
            pattern.setRecurrenceType(pim::olRecursWeekly);
            pattern.setOccurrences(4 + int(random() % 9));
        });
    for (int i = 0; i < kRecurringYearly; ++i)
        save(app, hourOf(anyDay()), u"Birthday", u"Personal", [&](pim::RecurrencePattern& pattern) {
            pattern.setRecurrenceType(pim::olRecursYearly);
        });

    // Top the shown month up to exactly 500 items; the rest lies in the other months.
    const int monthSingles = kInShownMonth - countInShownMonth(app);
    for (int i = 0; i < monthSingles; ++i)
        save(app, hourOf(monthFrom + OleDateTimeSpan(double(random() % 31))), subject(), u"Business", {});
    for (int placed = kRecurringWeekly + kRecurringYearly + monthSingles; placed < size;) {
        const OleDateTime day = anyDay();
        if (day >= monthFrom - OleDateTimeSpan(1.0) && day <= monthTo + OleDateTimeSpan(1.0))
            continue;
        save(app, hourOf(day), subject(), u"Business", {});
        ++placed;
    }
    if (countInShownMonth(app) != kInShownMonth)
        std::abort();
}

} // namespace bench_support
