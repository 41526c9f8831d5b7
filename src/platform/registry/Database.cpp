#include "platform/registry/Database.h"

#include "platform/sqlite/Transaction.h"

namespace registry {

namespace {

// Both tables keep each name twice: `name` as given (UTF-16LE bytes) and `fold` for comparison
// (ASCII lower case, UTF-16BE bytes; see KeyPath). Key ids are never reused (AUTOINCREMENT), so
// a handle to a deleted key can never come to mean a newer key. A value's id records its creation
// order, which is the order values enumerate in.
const char* const schemaVersion1 = R"sql(
CREATE TABLE keys (
    id     INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES keys(id),
    name   BLOB NOT NULL,
    fold   BLOB NOT NULL
);
CREATE UNIQUE INDEX keys_by_name ON keys(parent, fold);
CREATE TABLE key_values (
    id   INTEGER PRIMARY KEY,
    key  INTEGER NOT NULL REFERENCES keys(id),
    name BLOB NOT NULL,
    fold BLOB NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL
);
CREATE UNIQUE INDEX values_by_name ON key_values(key, fold);
CREATE INDEX values_in_order ON key_values(key, id);
INSERT INTO keys(id, parent, name, fold) VALUES (1, NULL, X'', X''), (2, NULL, X'', X'');
)sql";

const char* const querySql[] = {
    "SELECT 1 FROM keys WHERE id = ?1",
    "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2",
    "INSERT INTO keys(parent, name, fold) VALUES (?1, ?2, ?3)",
    "SELECT name FROM keys WHERE parent = ?1 ORDER BY fold LIMIT 1 OFFSET ?2",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    "DELETE FROM key_values WHERE key = ?1",
    "DELETE FROM keys WHERE id = ?1",
    "SELECT type, data FROM key_values WHERE key = ?1 AND fold = ?2",
    "INSERT INTO key_values(key, name, fold, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
    "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
    "DELETE FROM key_values WHERE key = ?1 AND fold = ?2",
    "SELECT name, type, data FROM key_values WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2",
};
static_assert(std::size(querySql) == std::size_t(Database::Query::Count));

} // namespace

Database::Database(std::unique_ptr<sqlite::Connection> connection) : m_connection(std::move(connection))
{
    m_connection->setQueries(querySql);
}

Database::~Database() = default;

std::unique_ptr<Database> Database::open(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout,
                                         Status& status)
{
    sqlite::Error error = sqlite::Error::None;
    std::unique_ptr<sqlite::Connection> connection = sqlite::Connection::open(file, busyTimeout, error);
    if (!connection) {
        status = statusOf(error);
        return nullptr;
    }
    std::unique_ptr<Database> database(new Database(std::move(connection)));
    status = database->prepareSchema();
    if (status != ERROR_SUCCESS)
        return nullptr;
    return database;
}

void Database::setBusyTimeout(std::chrono::milliseconds timeout)
{
    if (m_connection)
        m_connection->setBusyTimeout(timeout);
}

Status Database::execute(const char* sql) { return statusOf(m_connection->execute(sql)); }

Status Database::prepareSchema()
{
    // WAL lets readers go on while another process writes (sqlite::Connection::useWriteAheadLog).
    // This first statement is also the one that finds a file that is not a database.
    if (Status status = statusOf(m_connection->useWriteAheadLog()); status != ERROR_SUCCESS)
        return status;

    std::int64_t version = 0;
    if (Status status = statusOf(m_connection->queryInteger("PRAGMA user_version", version)); status != ERROR_SUCCESS)
        return status;
    if (version == SchemaVersion)
        return ERROR_SUCCESS;
    if (version > SchemaVersion)
        return ERROR_BADDB; // written by a newer program: do not guess at its meaning

    // Create or migrate under the write lock, and look again once it is held: another process
    // may have done it while this one waited. Anything short of the commit rolls back.
    sqlite::Transaction transaction(*m_connection, sqlite::Transaction::Kind::Write);
    if (Status status = statusOf(transaction.error()); status != ERROR_SUCCESS)
        return status;
    Status status = statusOf(m_connection->queryInteger("PRAGMA user_version", version));
    if (status == ERROR_SUCCESS && version > SchemaVersion)
        status = ERROR_BADDB;
    if (status == ERROR_SUCCESS && version < SchemaVersion)
        status = migrate(int(version));
    if (status == ERROR_SUCCESS)
        status = statusOf(transaction.commit());
    return status;
}

Status Database::migrate(int fromVersion)
{
    // Each step brings the schema from one version to the next; a later version adds its step
    // here and raises SchemaVersion.
    if (fromVersion == 0) {
        // A file without the registry's tables is only acceptable when it is empty: anything
        // else is some other database and must not be written into.
        std::int64_t tables = 0;
        if (Status status = statusOf(m_connection->queryInteger("SELECT count(*) FROM sqlite_schema", tables));
            status != ERROR_SUCCESS)
            return status;
        if (tables != 0)
            return ERROR_BADDB;
        if (Status status = execute(schemaVersion1); status != ERROR_SUCCESS)
            return status;
        fromVersion = 1;
    }
    return execute("PRAGMA user_version = 1");
}

int Database::changes() const { return m_connection->changes(); }

std::int64_t Database::lastInsertId() const { return m_connection->lastInsertId(); }

Status Database::statusOf(sqlite::Error error)
{
    switch (error) {
    case sqlite::Error::None:
        return ERROR_SUCCESS;
    case sqlite::Error::Busy:
        return ERROR_TIMEOUT;
    case sqlite::Error::NoMemory:
        return ERROR_NOT_ENOUGH_MEMORY;
    case sqlite::Error::TooBig:
        return ERROR_INVALID_PARAMETER;
    case sqlite::Error::NotADatabase:
    case sqlite::Error::Corrupt:
    case sqlite::Error::SchemaMismatch: // a statement that does not fit the file's tables
    case sqlite::Error::TypeMismatch:
    case sqlite::Error::Constraint:
        return ERROR_BADDB;
    case sqlite::Error::ReadOnly:
    case sqlite::Error::CannotOpen:
    case sqlite::Error::Io: // a file that cannot be opened or written, a full disk
        return ERROR_REGISTRY_IO_FAILED;
    }
    return ERROR_REGISTRY_IO_FAILED;
}

void Database::abandon() { m_connection->abandon(); }

} // namespace registry
