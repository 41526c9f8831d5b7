// The SQLite layer under the registry and the appointment store: typed errors for a busy, locked,
// foreign or damaged file, statements that reset whatever happens, and transactions that roll back
// unless committed.

#include "TempDevice.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/Statement.h"
#include "platform/sqlite/Transaction.h"

#include <fstream>
#include <thread>
#include <gtest/gtest.h>

using namespace sqlite;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace sqlite {
// Error names in test output.
void PrintTo(Error error, std::ostream* out) { *out << errorName(error); }
} // namespace sqlite

namespace {

enum class Query { Insert, All, Count, CountRows };
const char* const querySql[] = {
    "INSERT INTO notes(id, body, weight) VALUES (?1, ?2, ?3)",
    "SELECT id, body, weight FROM notes ORDER BY id",
    "SELECT count(*) FROM notes",
    "SELECT count(*) FROM missing_table",
};

class SqliteTest : public ::testing::Test {
protected:
    SqliteTest() { fs::create_directories(folder); }

    // A connection to `file` with the test's statements, the log on and a table of notes.
    std::unique_ptr<Connection> openNotes(std::chrono::milliseconds busyTimeout = 5s)
    {
        Error error = Error::Io;
        std::unique_ptr<Connection> connection = Connection::open(file, busyTimeout, error);
        EXPECT_EQ(error, Error::None);
        if (!connection)
            return nullptr;
        connection->setQueries(querySql);
        EXPECT_EQ(connection->useWriteAheadLog(), Error::None);
        EXPECT_EQ(connection->execute("CREATE TABLE IF NOT EXISTS notes(id INTEGER PRIMARY KEY, body BLOB NOT NULL, "
                                      "weight REAL)"),
                  Error::None);
        return connection;
    }

    static std::int64_t countNotes(Connection& connection)
    {
        Statement count(connection, Query::Count);
        return count.next() ? count.integer(0) : -1;
    }

    testing_support::TempDevice device;
    fs::path folder = device.root() / "databases";
    fs::path file = folder / "notes.db";
};

} // namespace

TEST_F(SqliteTest, StatementsBindStepAndReadTheirColumns)
{
    auto connection = openNotes();
    ASSERT_TRUE(connection);
    std::string mode;
    EXPECT_EQ(connection->queryText("PRAGMA journal_mode", mode), Error::None);
    EXPECT_EQ(mode, "wal");

    EXPECT_EQ(Statement(*connection, Query::Insert).bindInteger(1).bindBlob("first").bindReal(0.5).run(), Error::None);
    EXPECT_EQ(connection->lastInsertId(), 1);
    // Empty bytes are a zero-length value, never NULL: the NOT NULL column takes them.
    EXPECT_EQ(Statement(*connection, Query::Insert).bindInteger(2).bindBlob("").bindNull().run(), Error::None);
    EXPECT_EQ(connection->changes(), 1);

    Statement all(*connection, Query::All);
    ASSERT_TRUE(all.next());
    EXPECT_EQ(all.integer(0), 1);
    EXPECT_EQ(all.blob(1), "first");
    EXPECT_EQ(all.real(2), 0.5);
    ASSERT_TRUE(all.next());
    EXPECT_EQ(all.blob(1), "");
    EXPECT_FALSE(all.isNull(1));
    EXPECT_TRUE(all.isNull(2));
    EXPECT_FALSE(all.next());
    EXPECT_EQ(all.error(), Error::None);
}

TEST_F(SqliteTest, TheFirstFailureSticksAndNamesItsKind)
{
    auto connection = openNotes();
    ASSERT_TRUE(connection);
    ASSERT_EQ(Statement(*connection, Query::Insert).bindInteger(1).bindBlob("a").bindNull().run(), Error::None);

    Statement duplicate(*connection, Query::Insert);
    EXPECT_EQ(duplicate.bindInteger(1).bindBlob("b").bindNull().run(), Error::Constraint);
    EXPECT_FALSE(duplicate.next()) << "a failed statement steps no further";

    Statement missing(*connection, Query::CountRows);
    EXPECT_EQ(missing.error(), Error::SchemaMismatch) << "a statement that does not fit the file's tables";
    EXPECT_FALSE(missing.bindInteger(1).next());
    EXPECT_EQ(Statement(*connection, std::size_t(99)).error(), Error::SchemaMismatch) << "no such statement";

    std::int64_t value = 7;
    EXPECT_EQ(connection->queryInteger("SELECT 1 WHERE 0", value), Error::None);
    EXPECT_EQ(value, 7) << "no row leaves the value alone";
    EXPECT_EQ(connection->execute("INSERT INTO nowhere VALUES (1)"), Error::SchemaMismatch);
}

TEST_F(SqliteTest, AStatementLeftHalfWayIsResetWhenItsUseEnds)
{
    auto connection = openNotes();
    ASSERT_TRUE(connection);
    for (int id = 1; id <= 3; ++id)
        ASSERT_EQ(Statement(*connection, Query::Insert).bindInteger(id).bindBlob("x").bindNull().run(), Error::None);
    {
        Statement all(*connection, Query::All);
        ASSERT_TRUE(all.next()); // and then abandoned with rows left
    }
    // A statement still running over the table would keep it locked against being dropped.
    EXPECT_EQ(connection->execute("DROP TABLE notes"), Error::None);
}

TEST_F(SqliteTest, AFailedStepRollsTheTransactionBack)
{
    auto connection = openNotes();
    ASSERT_TRUE(connection);
    {
        Transaction transaction(*connection, Transaction::Kind::Write);
        ASSERT_EQ(transaction.error(), Error::None);
        ASSERT_EQ(Statement(*connection, Query::Insert).bindInteger(1).bindBlob("kept").bindNull().run(), Error::None);
        ASSERT_EQ(transaction.commit(), Error::None);
    }
    {
        Transaction transaction(*connection, Transaction::Kind::Write);
        ASSERT_EQ(Statement(*connection, Query::Insert).bindInteger(2).bindBlob("lost").bindNull().run(), Error::None);
        // The second row of the operation fails: the operation leaves nothing behind.
        EXPECT_EQ(Statement(*connection, Query::Insert).bindInteger(1).bindBlob("clash").bindNull().run(),
                  Error::Constraint);
    }
    EXPECT_EQ(countNotes(*connection), 1);

    // An exception on the way out of an operation rolls back too.
    EXPECT_THROW(
        {
            Transaction transaction(*connection, Transaction::Kind::Write);
            ASSERT_EQ(Statement(*connection, Query::Insert).bindInteger(3).bindBlob("x").bindNull().run(), Error::None);
            throw std::runtime_error("interrupted");
        },
        std::runtime_error);
    EXPECT_EQ(countNotes(*connection), 1);
    // And the connection takes new transactions afterwards.
    Transaction next(*connection, Transaction::Kind::Read);
    EXPECT_EQ(next.error(), Error::None);
    EXPECT_EQ(next.commit(), Error::None);
}

TEST_F(SqliteTest, AWriterThatWaitsBeyondTheTimeOutIsBusyAndWritesNothing)
{
    auto holder = openNotes();
    auto waiter = openNotes(30ms);
    ASSERT_TRUE(holder && waiter);
    Transaction held(*holder, Transaction::Kind::Write);
    ASSERT_EQ(held.error(), Error::None);

    Transaction blocked(*waiter, Transaction::Kind::Write);
    EXPECT_EQ(blocked.error(), Error::Busy);
    EXPECT_EQ(blocked.commit(), Error::Busy) << "a transaction that never began cannot commit";
    // Readers are not held up by the writer (WAL).
    EXPECT_EQ(countNotes(*waiter), 0);

    ASSERT_EQ(held.commit(), Error::None);
    Transaction free(*waiter, Transaction::Kind::Write);
    EXPECT_EQ(free.error(), Error::None) << "once the lock is given up the next writer goes on";
}

TEST_F(SqliteTest, AFileHeldExclusivelyIsBusy)
{
    auto holder = openNotes();
    ASSERT_TRUE(holder);
    ASSERT_EQ(holder->execute("PRAGMA locking_mode = EXCLUSIVE"), Error::None);
    ASSERT_EQ(holder->execute("BEGIN EXCLUSIVE; INSERT INTO notes(id, body) VALUES (1, x'00'); COMMIT"), Error::None);

    Error error = Error::None;
    auto latecomer = Connection::open(file, 30ms, error);
    ASSERT_TRUE(latecomer);
    EXPECT_EQ(latecomer->useWriteAheadLog(), Error::Busy);
}

TEST_F(SqliteTest, SwitchingANewFileToTheLogWaitsForAnotherProcessStillWritingIt)
{
    // A second process opening the new file in its first moments: it still writes the file in the
    // rollback journal mode, which keeps the switch from having the file to itself (SQLite answers
    // such a switch as busy at once, since waiting for the lock could deadlock). The switch must
    // wait that out within the busy time-out instead of failing.
    Error error = Error::None;
    auto early = Connection::open(file, 5s, error);
    ASSERT_TRUE(early);
    ASSERT_EQ(early->execute("CREATE TABLE early(x); INSERT INTO early VALUES (1)"), Error::None);
    ASSERT_EQ(early->execute("BEGIN IMMEDIATE; INSERT INTO early VALUES (2)"), Error::None);

    std::thread release([&] {
        std::this_thread::sleep_for(150ms);
        EXPECT_EQ(early->execute("COMMIT"), Error::None);
    });
    auto late = Connection::open(file, 5s, error);
    ASSERT_TRUE(late);
    EXPECT_EQ(late->useWriteAheadLog(), Error::None);
    release.join();
}

TEST_F(SqliteTest, ForeignDamagedAndUnopenableFilesAreToldApart)
{
    std::ofstream(file, std::ios::binary) << std::string(8192, 'g');
    Error error = Error::None;
    auto garbage = Connection::open(file, 1s, error);
    ASSERT_TRUE(garbage) << "opening does not read the file";
    EXPECT_EQ(garbage->useWriteAheadLog(), Error::NotADatabase);

    // A real database whose table pages are overwritten.
    fs::remove(file);
    {
        auto connection = openNotes();
        ASSERT_TRUE(connection);
        ASSERT_EQ(connection->execute("PRAGMA journal_mode = DELETE"), Error::None);
        ASSERT_EQ(connection->execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                                      "INSERT INTO notes(id, body) SELECT i, randomblob(100) FROM n"),
                  Error::None);
    }
    {
        std::fstream damaged(file, std::ios::binary | std::ios::in | std::ios::out);
        damaged.seekp(4096 * 3);
        damaged << std::string(4096 * 8, '\x5a');
    }
    auto connection = Connection::open(file, 1s, error);
    ASSERT_TRUE(connection);
    std::int64_t total = 0;
    EXPECT_EQ(connection->queryInteger("SELECT sum(length(body)) FROM notes", total), Error::Corrupt);

    EXPECT_FALSE(Connection::open(folder / "missing" / "x.db", 1s, error));
    EXPECT_EQ(error, Error::CannotOpen);
    EXPECT_FALSE(Connection::open(folder, 1s, error)) << "a folder in the file's place";
    EXPECT_EQ(error, Error::CannotOpen);
}

TEST_F(SqliteTest, StatementsArePreparedOnceAndAgainAfterFinalizing)
{
    auto connection = openNotes();
    ASSERT_TRUE(connection);
    EXPECT_EQ(connection->prepareQueries(), Error::SchemaMismatch) << "the table holds a query the file cannot run";
    connection->setQueries(std::span(querySql, 3));
    EXPECT_EQ(connection->prepareQueries(), Error::None);
    connection->finalizeQueries();
    EXPECT_EQ(countNotes(*connection), 0) << "prepared again on its next use";
}
