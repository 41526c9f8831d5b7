#include "platform/registry/Database.h"

#include <sqlite3.h>

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
    "BEGIN",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
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

int timeoutMilliseconds(std::chrono::milliseconds timeout)
{
    auto count = timeout.count();
    return count < 0 ? 0 : count > 0x7FFFFFFF ? 0x7FFFFFFF : int(count);
}

} // namespace

Database::Database(sqlite3* connection) : m_connection(connection) {}

Database::~Database()
{
    for (sqlite3_stmt* statement : m_statements)
        sqlite3_finalize(statement);
    if (m_connection)
        sqlite3_close(m_connection);
}

std::unique_ptr<Database> Database::open(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout,
                                         Status& status)
{
    sqlite3* connection = nullptr;
    // The registry serialises its own calls, so the connection needs no mutex of its own.
    int result = sqlite3_open_v2(file.c_str(), &connection,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::unique_ptr<Database> database(new Database(connection));
    if (result != SQLITE_OK) {
        status = statusOf(result);
        return nullptr;
    }
    sqlite3_extended_result_codes(connection, 1);
    database->setBusyTimeout(busyTimeout);
    status = database->prepareSchema();
    if (status != ERROR_SUCCESS)
        return nullptr;
    return database;
}

void Database::setBusyTimeout(std::chrono::milliseconds timeout)
{
    if (m_connection)
        sqlite3_busy_timeout(m_connection, timeoutMilliseconds(timeout));
}

Status Database::execute(const char* sql)
{
    return statusOf(sqlite3_exec(m_connection, sql, nullptr, nullptr, nullptr));
}

Status Database::readUserVersion(int& version)
{
    sqlite3_stmt* statement = nullptr;
    int result = sqlite3_prepare_v2(m_connection, "PRAGMA user_version", -1, &statement, nullptr);
    if (result == SQLITE_OK) {
        result = sqlite3_step(statement);
        if (result == SQLITE_ROW) {
            version = sqlite3_column_int(statement, 0);
            result = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return statusOf(result);
}

Status Database::prepareSchema()
{
    // WAL lets readers go on while another process writes. NORMAL synchronisation in WAL mode
    // keeps the file consistent through any crash; only a power loss can roll back the last
    // commits. This first statement is also the one that finds a file that is not a database.
    if (Status status = execute("PRAGMA journal_mode = WAL"); status != ERROR_SUCCESS)
        return status;
    if (Status status = execute("PRAGMA synchronous = NORMAL"); status != ERROR_SUCCESS)
        return status;

    int version = 0;
    if (Status status = readUserVersion(version); status != ERROR_SUCCESS)
        return status;
    if (version == SchemaVersion)
        return ERROR_SUCCESS;
    if (version > SchemaVersion)
        return ERROR_BADDB; // written by a newer program: do not guess at its meaning

    // Create or migrate under the write lock, and look again once it is held: another process
    // may have done it while this one waited.
    if (Status status = execute("BEGIN IMMEDIATE"); status != ERROR_SUCCESS)
        return status;
    Status status = readUserVersion(version);
    if (status == ERROR_SUCCESS && version > SchemaVersion)
        status = ERROR_BADDB;
    if (status == ERROR_SUCCESS && version < SchemaVersion)
        status = migrate(version);
    if (status == ERROR_SUCCESS)
        status = execute("COMMIT");
    if (status != ERROR_SUCCESS)
        sqlite3_exec(m_connection, "ROLLBACK", nullptr, nullptr, nullptr);
    return status;
}

Status Database::migrate(int fromVersion)
{
    // Each step brings the schema from one version to the next; a later version adds its step
    // here and raises SchemaVersion.
    if (fromVersion == 0) {
        // A file without the registry's tables is only acceptable when it is empty: anything
        // else is some other database and must not be written into.
        sqlite3_stmt* statement = nullptr;
        int result = sqlite3_prepare_v2(m_connection, "SELECT count(*) FROM sqlite_schema", -1, &statement, nullptr);
        bool empty = false;
        if (result == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            empty = sqlite3_column_int(statement, 0) == 0;
        else
            result = sqlite3_errcode(m_connection);
        sqlite3_finalize(statement);
        if (result != SQLITE_OK)
            return statusOf(result);
        if (!empty)
            return ERROR_BADDB;
        if (Status status = execute(schemaVersion1); status != ERROR_SUCCESS)
            return status;
        fromVersion = 1;
    }
    return execute("PRAGMA user_version = 1");
}

sqlite3_stmt* Database::statement(Query query, Status& status)
{
    sqlite3_stmt*& slot = m_statements[std::size_t(query)];
    if (!slot) {
        int result = sqlite3_prepare_v3(m_connection, querySql[std::size_t(query)], -1, SQLITE_PREPARE_PERSISTENT,
                                        &slot, nullptr);
        if (result != SQLITE_OK) {
            sqlite3_finalize(slot);
            slot = nullptr;
            status = statusOf(result);
            return nullptr;
        }
    }
    status = ERROR_SUCCESS;
    return slot;
}

int Database::changes() const { return sqlite3_changes(m_connection); }

std::int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(m_connection); }

Status Database::statusOf(int sqliteResult)
{
    switch (sqliteResult & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return ERROR_SUCCESS;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ERROR_TIMEOUT;
    case SQLITE_NOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_TOOBIG:
        return ERROR_INVALID_PARAMETER;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
    case SQLITE_ERROR: // a statement that does not fit the file's tables
    case SQLITE_MISMATCH:
    case SQLITE_CONSTRAINT:
        return ERROR_BADDB;
    default: // I/O errors, a file that cannot be opened or written, a full disk
        return ERROR_REGISTRY_IO_FAILED;
    }
}

void Database::abandon()
{
    m_statements = {};
    m_connection = nullptr;
}

} // namespace registry
