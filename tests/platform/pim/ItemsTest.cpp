// Finding appointments: the period query, overlap at the edges, expanded series, order.

#include "PimTesting.h"

#include <thread>

namespace {

using namespace pim;
using pim_testing::at;
using pim_testing::periodQuery;
using pim_testing::StoreTest;
using Found = std::vector<std::string>;

class ItemsTest : public StoreTest {
protected:
    std::u16string december() { return periodQuery(at(2026, 12, 1), at(2026, 12, 31, 23, 59, 59)); }

    std::uint32_t addSeries(const std::u16string& subject, const device::OleDateTime& start,
                            const device::OleDateTime& end, int type, const std::function<void(RecurrencePattern&)>& shape = {})
    {
        auto item = app->createItem(olAppointmentItem);
        item->setStart(start);
        item->setEnd(end);
        item->setSubject(subject);
        RecurrencePattern& pattern = item->getRecurrencePattern();
        pattern.setRecurrenceType(type);
        if (shape)
            shape(pattern);
        Error error = Error::None;
        EXPECT_TRUE(item->save(&error)) << errorText(error);
        return item->oid();
    }
};

TEST_F(ItemsTest, PeriodQueryTakesWhatTouchesThePeriodInStartOrder)
{
    add(u"ends at from", at(2026, 11, 30, 23), at(2026, 12, 1));
    add(u"ends before from", at(2026, 11, 30, 22), at(2026, 11, 30, 23, 59, 59));
    add(u"starts at to", at(2026, 12, 31, 23, 59, 59), at(2027, 1, 1, 1));
    add(u"starts after to", at(2027, 1, 1), at(2027, 1, 1, 1));
    add(u"spans it", at(2026, 11, 1), at(2027, 2, 1));
    add(u"late", at(2026, 12, 20, 15), at(2026, 12, 20, 16));
    add(u"early", at(2026, 12, 2, 9), at(2026, 12, 2, 10));
    EXPECT_EQ(found(december()), (Found {"spans it 2026-11-01 00:00", "ends at from 2026-11-30 23:00",
                                         "early 2026-12-02 09:00", "late 2026-12-20 15:00",
                                         "starts at to 2026-12-31 23:59"}));
}

TEST_F(ItemsTest, SameStartsComeInEndThenIdentifierOrder)
{
    const std::uint32_t longer = add(u"longer", at(2026, 12, 8, 9), at(2026, 12, 8, 11));
    const std::uint32_t first = add(u"first", at(2026, 12, 8, 9), at(2026, 12, 8, 10));
    const std::uint32_t second = add(u"second", at(2026, 12, 8, 9), at(2026, 12, 8, 10));
    items->setIncludeRecurrences(true);
    std::vector<std::uint32_t> order;
    for (auto item = items->find(december()); item; item = items->findNext())
        order.push_back(item->oid());
    EXPECT_EQ(order, (std::vector<std::uint32_t> {first, second, longer}));
}

TEST_F(ItemsTest, OccurrencesAreItemsOfTheirOwnWithTheSeriesIdentifier)
{
    const std::uint32_t weekly = addSeries(u"standup", at(2026, 11, 25, 9), at(2026, 11, 25, 9, 15), olRecursWeekly);
    add(u"lunch", at(2026, 12, 9, 12), at(2026, 12, 9, 13));

    EXPECT_EQ(found(december()), (Found {"standup 2026-12-02 09:00", "standup 2026-12-09 09:00", "lunch 2026-12-09 12:00",
                                         "standup 2026-12-16 09:00", "standup 2026-12-23 09:00",
                                         "standup 2026-12-30 09:00"}));
    items->setIncludeRecurrences(true);
    std::unique_ptr<Appointment> occurrence = items->find(december());
    ASSERT_TRUE(occurrence);
    EXPECT_EQ(occurrence->oid(), weekly);
    EXPECT_TRUE(occurrence->isOccurrence());
    EXPECT_TRUE(occurrence->isRecurring());
    EXPECT_EQ(occurrence->end(), at(2026, 12, 2, 9, 15));
    EXPECT_EQ(occurrence->recurrencePattern()->patternStartDate(), at(2026, 11, 25));

    // One occurrence cannot be changed on its own.
    Error error = Error::None;
    occurrence->setSubject(u"changed");
    EXPECT_FALSE(occurrence->save(&error));
    EXPECT_EQ(error, Error::IsOccurrence);
    EXPECT_FALSE(occurrence->remove(&error));
    EXPECT_EQ(error, Error::IsOccurrence);

    // Without recurrences the series is one item with its own first start.
    EXPECT_EQ(found(u"[Subject] = \"standup\"", false), (Found {"standup 2026-11-25 09:00"}));
    items->setIncludeRecurrences(false);
    EXPECT_FALSE(items->find(u"[Subject] = \"standup\"")->isOccurrence());
}

TEST_F(ItemsTest, AnOccurrenceReachingIntoThePeriodIsFound)
{
    // Yearly from 11 PM on November 30 to 1 AM the next day: it touches December.
    addSeries(u"night", at(2020, 11, 30, 23), at(2020, 12, 1, 1), olRecursYearly);
    EXPECT_EQ(found(december()), (Found {"night 2026-11-30 23:00"}));
}

TEST_F(ItemsTest, SeriesEndsAndAwkwardDaysSurviveTheStore)
{
    addSeries(u"monthly", at(2026, 10, 31, 8), at(2026, 10, 31, 9), olRecursMonthly,
              [](RecurrencePattern& pattern) { pattern.setOccurrences(3); });
    addSeries(u"daily", at(2026, 12, 29, 7), at(2026, 12, 29, 8), olRecursDaily, [](RecurrencePattern& pattern) {
        pattern.setInterval(2);
        pattern.setPatternEndDate(at(2027, 1, 4));
    });
    addSeries(u"leap", at(2024, 2, 29, 10), at(2024, 2, 29, 11), olRecursYearly);

    const std::u16string winter = periodQuery(at(2026, 11, 1), at(2027, 3, 31, 23, 59, 59));
    EXPECT_EQ(found(winter), (Found {"monthly 2026-11-30 08:00", "daily 2026-12-29 07:00", "daily 2026-12-31 07:00",
                                     "monthly 2026-12-31 08:00", "daily 2027-01-02 07:00", "daily 2027-01-04 07:00",
                                     "leap 2027-02-28 10:00"}));

    // The derived ends come back with the pattern.
    items->setIncludeRecurrences(false);
    std::unique_ptr<Appointment> monthly = items->find(u"[Subject] = \"monthly\"");
    ASSERT_TRUE(monthly);
    std::unique_ptr<Appointment> fetched = app->getItemFromOid(monthly->oid());
    ASSERT_TRUE(fetched && fetched->recurrencePattern());
    EXPECT_EQ(fetched->recurrencePattern()->occurrences(), 3);
    EXPECT_EQ(fetched->recurrencePattern()->patternEndDate(), at(2026, 12, 31));
    std::unique_ptr<Appointment> daily = items->find(u"[Subject] = \"daily\"");
    ASSERT_TRUE(daily);
    EXPECT_EQ(daily->recurrencePattern()->occurrences(), 4);
}

TEST_F(ItemsTest, ADailySeriesShowsOncePerDayOfAWeek)
{
    addSeries(u"daily", at(2026, 1, 1, 18), at(2026, 1, 1, 19), olRecursDaily);
    EXPECT_EQ(found(periodQuery(at(2026, 12, 6), at(2026, 12, 12, 23, 59, 59))).size(), 7u);
}

TEST_F(ItemsTest, UnboundedExpansionFailsInsteadOfRunningOn)
{
    addSeries(u"forever", at(2026, 1, 1, 18), at(2026, 1, 1, 19), olRecursDaily);
    Error error = Error::None;
    items->setIncludeRecurrences(true);
    EXPECT_FALSE(items->find(u"[Subject] = \"nothing\"", &error));
    EXPECT_EQ(error, Error::TooManyOccurrences);
    EXPECT_FALSE(items->findNext(&error)); // nothing left over from the failed search

    // Bounded, or without recurrences, it works.
    EXPECT_EQ(found(u"[Start] <= \"1/31/2026 11:59:59 PM\" AND [Subject] = \"forever\"").size(), 31u);
    EXPECT_EQ(found(u"[Subject] = \"forever\"", false).size(), 1u);
}

TEST_F(ItemsTest, BadRestrictionFailsTheFindCleanly)
{
    add(u"lunch", at(2026, 12, 9, 12), at(2026, 12, 9, 13));
    Error error = Error::None;
    EXPECT_FALSE(items->find(u"[End] >= \"not a date\"", &error));
    EXPECT_EQ(error, Error::BadRestriction);
    EXPECT_FALSE(items->findNext(&error));
    EXPECT_EQ(found(december()).size(), 1u);
}

TEST_F(ItemsTest, ChangesOfAnotherProgramShowInTheNextFind)
{
    std::unique_ptr<Application> other = Application::create(device.root() / "pim.db");
    ASSERT_TRUE(other && other->logon());
    EXPECT_TRUE(found(december()).empty());

    auto item = other->createItem(olAppointmentItem);
    item->setSubject(u"from the admin tool");
    item->setStart(at(2026, 12, 24, 18));
    item->setEnd(at(2026, 12, 24, 22));
    ASSERT_TRUE(item->save());
    EXPECT_EQ(found(december()), (Found {"from the admin tool 2026-12-24 18:00"}));

    ASSERT_TRUE(item->remove());
    EXPECT_TRUE(found(december()).empty());
}

// The calendar reads on its reader thread while the user interface saves.
TEST_F(ItemsTest, OneApplicationServesTwoThreads)
{
    std::atomic<bool> done {false};
    std::atomic<int> failures {0};
    std::thread reader([&] {
        std::unique_ptr<Items> readerItems = app->getDefaultFolder(olFolderCalendar)->items();
        readerItems->setIncludeRecurrences(true);
        while (!done) {
            Error error = Error::None;
            for (auto item = readerItems->find(december(), &error); item; item = readerItems->findNext(&error)) {
            }
            if (error != Error::None)
                ++failures;
        }
    });
    for (int i = 0; i < 100; ++i)
        add(u"meeting", at(2026, 12, 1 + i % 28, 9), at(2026, 12, 1 + i % 28, 10));
    done = true;
    reader.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(found(december()).size(), 100u);
}

} // namespace
