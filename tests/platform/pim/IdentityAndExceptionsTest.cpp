// What iCalendar needs of the store: deleted occurrences of a series, each appointment's identity
// (uid and recurrence id), changes that land together or not at all, and the upgrade of a store
// written before these existed.

#include "PimTesting.h"

#include "platform/pim/Store.h"

#include <sqlite3.h>

#include <set>

namespace {

using namespace pim;
using pim_testing::at;
using pim_testing::dayOf;
using pim_testing::periodQuery;
using pim_testing::StoreTest;
using Found = std::vector<std::string>;

class IdentityTest : public StoreTest {
protected:
    std::unique_ptr<Appointment> weekly(const std::u16string& subject, int count = 0)
    {
        auto item = app->createItem(olAppointmentItem);
        item->setStart(at(2026, 12, 1, 9));
        item->setEnd(at(2026, 12, 1, 10));
        item->setSubject(subject);
        RecurrencePattern& pattern = item->getRecurrencePattern();
        pattern.setRecurrenceType(olRecursWeekly);
        pattern.setDayOfWeekMask(olTuesday | olThursday);
        if (count)
            pattern.setOccurrences(count);
        return item;
    }

    std::u16string december() { return periodQuery(at(2026, 12, 1), at(2026, 12, 31, 23, 59, 59)); }
};

TEST_F(IdentityTest, DeletedOccurrencesAreSkippedByFindAndFindNextAndKeptAcrossReopening)
{
    auto series = weekly(u"Standup", 6); // Dec 1, 3, 8, 10, 15, 17
    RecurrencePattern& pattern = series->getRecurrencePattern();
    ASSERT_TRUE(pattern.deleteOccurrence(at(2026, 12, 3, 9)));
    pattern.deleteOccurrenceOn(dayOf(2026, 12, 17)); // the last one
    pattern.deleteOccurrenceOn(dayOf(2026, 12, 9));  // no occurrence that day: changes nothing
    pattern.deleteOccurrenceOn(dayOf(2026, 12, 3));  // twice is once
    ASSERT_TRUE(series->save());
    EXPECT_EQ(found(december()), (Found {"Standup 2026-12-01 09:00", "Standup 2026-12-08 09:00",
                                         "Standup 2026-12-10 09:00", "Standup 2026-12-15 09:00"}));
    // The count still counts the deleted ones: the series ends on the 17th, not later.
    EXPECT_EQ(found(periodQuery(at(2026, 12, 18), at(2027, 12, 31))), Found {});

    app.reset();
    app = Application::create(device.root() / "pim.db");
    ASSERT_TRUE(app->logon());
    auto again = app->getItemFromOid(series->oid());
    ASSERT_TRUE(again && again->recurrencePattern());
    EXPECT_EQ(again->recurrencePattern()->deletedOccurrences(),
              (std::vector<std::int64_t> {dayOf(2026, 12, 3), dayOf(2026, 12, 9), dayOf(2026, 12, 17)}));

    // Restoring them brings the occurrences back.
    again->getRecurrencePattern().clearDeletedOccurrences();
    ASSERT_TRUE(again->save());
    items = app->getDefaultFolder(olFolderCalendar)->items();
    EXPECT_EQ(found(december()).size(), 6u);
}

TEST_F(IdentityTest, EveryAppointmentGetsAUidOfItsOwnUnlessGivenOneAndUidsAreUnique)
{
    auto first = weekly(u"A");
    auto second = weekly(u"B");
    ASSERT_TRUE(first->save());
    ASSERT_TRUE(second->save());
    EXPECT_FALSE(first->uid().empty());
    EXPECT_NE(first->uid(), second->uid());
    EXPECT_EQ(app->getItemFromOid(first->oid())->uid(), first->uid());

    auto imported = app->createItem(olAppointmentItem);
    imported->setStart(at(2026, 12, 2, 9));
    imported->setEnd(at(2026, 12, 2, 10));
    imported->setUid("meeting-42@example.com");
    ASSERT_TRUE(imported->save());
    // A moved occurrence of the same series is another appointment with the same uid.
    auto moved = app->createItem(olAppointmentItem);
    moved->setStart(at(2026, 12, 9, 11));
    moved->setEnd(at(2026, 12, 9, 12));
    moved->setUid("meeting-42@example.com");
    moved->setRecurrenceId("20261209T090000");
    ASSERT_TRUE(moved->save());

    auto clash = app->createItem(olAppointmentItem);
    clash->setUid("meeting-42@example.com");
    Error error = Error::None;
    EXPECT_FALSE(clash->save(&error));
    EXPECT_EQ(error, Error::DuplicateUid);
    // An update that would take another's identity is refused too, and changes nothing.
    second->setUid(first->uid());
    EXPECT_FALSE(second->save(&error));
    EXPECT_EQ(error, Error::DuplicateUid);

    std::vector<std::unique_ptr<Appointment>> same = app->getItemsFromUid("meeting-42@example.com", &error);
    EXPECT_EQ(error, Error::None);
    ASSERT_EQ(same.size(), 2u);
    std::set<std::string> recurrenceIds {same[0]->recurrenceId(), same[1]->recurrenceId()};
    EXPECT_EQ(recurrenceIds, (std::set<std::string> {"", "20261209T090000"}));
    EXPECT_TRUE(app->getItemsFromUid("nobody@example.com", &error).empty());
    EXPECT_EQ(error, Error::None);
}

TEST_F(IdentityTest, ChangesInOneTransactionLandTogetherOrNotAtAll)
{
    const std::uint32_t kept = add(u"kept", at(2026, 12, 4, 9), at(2026, 12, 4, 10));
    Error error = Error::None;
    // A failure half-way takes back what was saved and removed before it.
    EXPECT_FALSE(app->runInTransaction(
        [&](Error* reason) {
            auto item = app->createItem(olAppointmentItem);
            item->setStart(at(2026, 12, 5, 9));
            item->setEnd(at(2026, 12, 5, 10));
            item->setSubject(u"new");
            if (!item->save(reason))
                return false;
            if (!app->getItemFromOid(kept)->remove(reason))
                return false;
            auto broken = app->createItem(olAppointmentItem);
            broken->setStart(at(2026, 12, 6, 10));
            broken->setEnd(at(2026, 12, 6, 9));
            return broken->save(reason);
        },
        &error));
    EXPECT_EQ(error, Error::InvalidAppointment);
    EXPECT_EQ(found(december()), Found {"kept 2026-12-04 09:00"});

    EXPECT_TRUE(app->runInTransaction(
        [&](Error* reason) {
            auto item = app->createItem(olAppointmentItem);
            item->setStart(at(2026, 12, 5, 9));
            item->setEnd(at(2026, 12, 5, 10));
            item->setSubject(u"new");
            return item->save(reason) && app->getItemFromOid(kept)->remove(reason);
        },
        &error))
        << errorText(error);
    EXPECT_EQ(found(december()), Found {"new 2026-12-05 09:00"});
}

// A store written before identities and deleted occurrences existed.
TEST(StoreUpgrade, AVersionOneStoreIsUpgradedAtLogonAndKeepsItsAppointments)
{
    testing_support::TempDevice device;
    const std::filesystem::path file = device.root() / "pim.db";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const char* v1 = R"sql(
CREATE TABLE appointments (
    oid INTEGER PRIMARY KEY AUTOINCREMENT CHECK (oid BETWEEN 1 AND 4294967294), subject BLOB NOT NULL,
    location BLOB NOT NULL, categories BLOB NOT NULL, recipients BLOB NOT NULL, start_ms INTEGER NOT NULL,
    end_ms INTEGER NOT NULL CHECK (end_ms >= start_ms), all_day INTEGER NOT NULL, recurrence_type INTEGER,
    recurrence_interval INTEGER, day_of_week_mask INTEGER, day_of_month INTEGER, instance INTEGER,
    month_of_year INTEGER, end_kind INTEGER, end_day INTEGER, occurrences INTEGER);
CREATE VIRTUAL TABLE appointment_spans USING rtree(oid, first_day, last_day);
PRAGMA application_id = 1414547789;
PRAGMA user_version = 1;
PRAGMA journal_mode = WAL;
)sql";
    ASSERT_EQ(sqlite3_exec(db, v1, nullptr, nullptr, nullptr), SQLITE_OK);
    // Two single appointments, 12/8/2026 9:00-10:00 and 12/9/2026 9:00-10:00 (subjects "A" and "B").
    const std::int64_t nine = (dayOf(2026, 12, 8) * 24 + 9) * 3'600'000LL;
    for (int i = 0; i < 2; ++i) {
        const std::int64_t start = nine + i * 86'400'000LL;
        const std::string sql = "INSERT INTO appointments(subject, location, categories, recipients, start_ms, "
                                "end_ms, all_day) VALUES (x'" + std::string(i ? "4200" : "4100") + "', x'', x'', x'', " +
            std::to_string(start) + ", " + std::to_string(start + 3'600'000) + ", 0);" +
            "INSERT INTO appointment_spans VALUES (last_insert_rowid(), " + std::to_string(start / 86'400'000.0) +
            ", " + std::to_string((start + 3'600'000) / 86'400'000.0 + 0.001) + ");";
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    }
    sqlite3_close(db);

    auto app = Application::create(file);
    Error error = Error::None;
    ASSERT_TRUE(app->logon(&error)) << errorText(error);
    auto items = app->getDefaultFolder(olFolderCalendar)->items();
    std::set<std::string> uids;
    for (auto item = items->find(periodQuery(at(2026, 12, 1), at(2026, 12, 31))); item; item = items->findNext()) {
        EXPECT_FALSE(item->uid().empty());
        uids.insert(item->uid());
    }
    EXPECT_EQ(uids.size(), 2u);
    // Upgraded once: a second logon finds the same identities.
    app.reset();
    app = Application::create(file);
    ASSERT_TRUE(app->logon());
    EXPECT_EQ(app->getItemsFromUid(*uids.begin()).size(), 1u);
}

} // namespace
