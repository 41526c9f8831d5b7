#pragma once
// Dates and a logged-on store for the appointment-store tests.

#include "TempDevice.h"

#include "platform/device/CivilDate.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/VariantTime.h"
#include "platform/pim/Application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pim_testing {

inline std::int64_t dayOf(int year, int month, int day) { return device::CivilDate(year, month, day).dayNumber(); }

inline device::OleDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return device::OleDateTime(year, month, day, hour, minute, second);
}

// "2026-12-08" for a day number.
inline std::string isoDay(std::int64_t dayNumber)
{
    const device::CivilDate date = device::CivilDate::fromDayNumber(dayNumber);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d", static_cast<long long>(date.year()), date.month(), date.day());
    return text;
}

// "2026-12-08 15:45" for a date-time.
inline std::string isoTime(const device::OleDateTime& date)
{
    const std::int64_t milliseconds = device::variantTimeToMilliseconds(date.GetValue()).value_or(0);
    const std::int64_t day = milliseconds >= 0 ? milliseconds / device::kMillisecondsPerDay
                                               : -((-milliseconds + device::kMillisecondsPerDay - 1) / device::kMillisecondsPerDay);
    const std::int64_t minutes = (milliseconds - day * device::kMillisecondsPerDay) / 60000;
    char text[16];
    std::snprintf(text, sizeof text, " %02d:%02d", int(minutes / 60), int(minutes % 60));
    return isoDay(day) + text;
}

// The calendar's own period query, its bounds written by the locale.
inline std::u16string periodQuery(const device::OleDateTime& from, const device::OleDateTime& to)
{
    return u"[End] >= \"" + from.Format() + u"\" AND [Start] <= \"" + to.Format() + u"\"";
}

// A throw-away device with a logged-on store.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pim::Error error = pim::Error::None;
        app = pim::Application::create(device.root() / "pim.db", &error);
        ASSERT_TRUE(app) << pim::errorText(error);
        ASSERT_TRUE(app->logon(&error)) << pim::errorText(error);
        folder = app->getDefaultFolder(pim::olFolderCalendar);
        ASSERT_TRUE(folder);
        items = folder->items();
    }

    // Saves a single appointment and returns its identifier.
    std::uint32_t add(const std::u16string& subject, const device::OleDateTime& start, const device::OleDateTime& end,
                      const std::u16string& categories = u"")
    {
        auto item = app->createItem(pim::olAppointmentItem);
        EXPECT_TRUE(item->setStart(start));
        EXPECT_TRUE(item->setEnd(end));
        item->setSubject(subject);
        item->setCategories(categories);
        pim::Error error = pim::Error::None;
        EXPECT_TRUE(item->save(&error)) << pim::errorText(error);
        return item->oid();
    }

    // "subject 2026-12-08 15:45" for every item the restriction finds, in the order found.
    std::vector<std::string> found(const std::u16string& restriction, bool includeRecurrences = true)
    {
        items->setIncludeRecurrences(includeRecurrences);
        std::vector<std::string> result;
        pim::Error error = pim::Error::None;
        for (auto item = items->find(restriction, &error); item; item = items->findNext(&error))
            result.push_back(device::toUtf8(item->subject()) + " " + isoTime(item->start()));
        EXPECT_EQ(error, pim::Error::None) << pim::errorText(error);
        return result;
    }

    testing_support::TempDevice device;
    std::unique_ptr<pim::Application> app;
    std::unique_ptr<pim::Folder> folder;
    std::unique_ptr<pim::Items> items;
};

} // namespace pim_testing
