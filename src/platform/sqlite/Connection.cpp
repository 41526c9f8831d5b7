#include "platform/sqlite/Connection.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

namespace sqlite {

namespace {

const char* const controlSql[] = {"BEGIN", "BEGIN IMMEDIATE", "COMMIT", "ROLLBACK"};

int timeoutMilliseconds(std::chrono::milliseconds timeout)
{
    const auto count = timeout.count();
    return count < 0 ? 0 : count > 0x7FFFFFFF ? 0x7FFFFFFF : int(count);
}

// Steps a statement that was prepared for one use and finalizes it.
class OneShot {
public:
    OneShot(sqlite3* connection, const char* sql)
    {
        m_result = sqlite3_prepare_v2(connection, sql, -1, &m_statement, nullptr);
        if (m_result == SQLITE_OK)
            m_result = sqlite3_step(m_statement);
    }
    ~OneShot() { sqlite3_finalize(m_statement); }
    OneShot(const OneShot&) = delete;
    OneShot& operator=(const OneShot&) = delete;

    bool hasRow() const { return m_result == SQLITE_ROW; }
    Error error() const { return errorOf(m_result); }
    sqlite3_stmt* row() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_result = SQLITE_OK;
};

} // namespace

Connection::Connection(sqlite3* connection) : m_connection(connection) {}

Connection::~Connection()
{
    finalizeQueries();
    if (m_connection)
        sqlite3_close(m_connection);
}

std::unique_ptr<Connection> Connection::open(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout,
                                             Error& error)
{
    sqlite3* handle = nullptr;
    const int result = sqlite3_open_v2(file.c_str(), &handle,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    // SQLite gives a handle even when opening fails; it is closed with the object.
    std::unique_ptr<Connection> connection(new Connection(handle));
    if (result != SQLITE_OK) {
        error = errorOf(result);
        return nullptr;
    }
    sqlite3_extended_result_codes(handle, 1);
    connection->setBusyTimeout(busyTimeout);
    error = Error::None;
    return connection;
}

void Connection::setBusyTimeout(std::chrono::milliseconds timeout)
{
    m_busyTimeout = timeout;
    if (m_connection)
        sqlite3_busy_timeout(m_connection, timeoutMilliseconds(timeout));
}

bool Connection::isReadOnly() const { return sqlite3_db_readonly(m_connection, "main") == 1; }

Error Connection::useWriteAheadLog()
{
    // A new file starts in the rollback journal mode, where two processes switching it at once can
    // each hold the lock the other needs: SQLite then answers Busy at once (waiting could never
    // end), or the old mode when it cannot have the file to itself, instead of waiting for the
    // busy time-out. The wait is made here: once the other process is through, the switch succeeds
    // (or finds the file switched already).
    const auto deadline = std::chrono::steady_clock::now() + m_busyTimeout;
    for (;;) {
        std::string mode;
        const Error error = queryText("PRAGMA journal_mode = WAL", mode);
        if (error == Error::None && sqlite3_stricmp(mode.c_str(), "wal") == 0)
            break;
        if (error != Error::None && error != Error::Busy)
            return error;
        // Busy, or still in its old mode: for now, or for good when another connection keeps the
        // file in exclusive locking mode, which outlasts the time-out.
        if (std::chrono::steady_clock::now() >= deadline)
            return Error::Busy;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return execute("PRAGMA synchronous = NORMAL");
}

Error Connection::execute(const char* sql)
{
    return errorOf(sqlite3_exec(m_connection, sql, nullptr, nullptr, nullptr));
}

Error Connection::queryInteger(const char* sql, std::int64_t& value)
{
    OneShot query(m_connection, sql);
    if (query.hasRow())
        value = sqlite3_column_int64(query.row(), 0);
    return query.error();
}

Error Connection::queryText(const char* sql, std::string& value)
{
    OneShot query(m_connection, sql);
    if (query.hasRow()) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query.row(), 0));
        value = text ? std::string(text, std::size_t(sqlite3_column_bytes(query.row(), 0))) : std::string();
    }
    return query.error();
}

void Connection::setQueries(std::span<const char* const> sql)
{
    finalizeQueries();
    m_sql = sql;
    m_queries.assign(sql.size(), nullptr);
}

Error Connection::prepareQueries()
{
    for (std::size_t i = 0; i < m_queries.size(); ++i) {
        Error error = Error::None;
        if (!query(i, error))
            return error;
    }
    return Error::None;
}

void Connection::finalizeQueries()
{
    for (sqlite3_stmt*& statement : m_queries) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    for (sqlite3_stmt*& statement : m_controls) {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
}

sqlite3_stmt* Connection::prepare(const char* sql, Error& error)
{
    sqlite3_stmt* statement = nullptr;
    const int result = sqlite3_prepare_v3(m_connection, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_finalize(statement);
        error = errorOf(result);
        return nullptr;
    }
    error = Error::None;
    return statement;
}

sqlite3_stmt* Connection::query(std::size_t index, Error& error)
{
    if (index >= m_queries.size()) {
        error = Error::SchemaMismatch; // no such statement in the owner's table
        return nullptr;
    }
    sqlite3_stmt*& slot = m_queries[index];
    if (!slot)
        slot = prepare(m_sql[index], error);
    else
        error = Error::None;
    return slot;
}

Error Connection::run(Control control)
{
    sqlite3_stmt*& slot = m_controls[std::size_t(control)];
    Error error = Error::None;
    if (!slot && !(slot = prepare(controlSql[std::size_t(control)], error)))
        return error;
    const int result = sqlite3_step(slot);
    sqlite3_reset(slot);
    return errorOf(result);
}

int Connection::changes() const { return sqlite3_changes(m_connection); }

std::int64_t Connection::lastInsertId() const { return sqlite3_last_insert_rowid(m_connection); }

void Connection::abandon()
{
    m_queries.assign(m_queries.size(), nullptr);
    m_controls = {};
    m_connection = nullptr;
}

} // namespace sqlite
