#pragma once
// One SQLite connection to a registry database, with its schema and its prepared statements.
//
// The connection runs in WAL mode, so readers never wait for a writer and a writer waits for
// another writer at most the busy time-out. Statements are prepared once, on first use, and kept
// for the life of the connection. The schema carries a version (user_version): a new file gets
// the current schema, an older one is migrated step by step, and a file of a newer version is
// refused rather than guessed at.

#include "platform/registry/Registry.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace registry {

class Database {
public:
    // Every statement the registry runs, prepared on first use.
    enum class Query {
        BeginRead,
        BeginWrite,
        Commit,
        Rollback,
        KeyExists,
        FindChild,
        InsertChild,
        ChildAt,
        HasChildren,
        DeleteKeyValues,
        DeleteKey,
        FindValue,
        UpsertValue,
        DeleteValue,
        ValueAt,
        Count,
    };

    // The schema version this code writes and understands.
    static constexpr int SchemaVersion = 1;
    // Key ids of the two hives, present in every database.
    static constexpr std::int64_t CurrentUserKey = 1;
    static constexpr std::int64_t LocalMachineKey = 2;

    // Opens (creating when missing) the database file and brings its schema up to date. On
    // failure returns null and the reason in `status`.
    static std::unique_ptr<Database> open(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout,
                                          Status& status);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void setBusyTimeout(std::chrono::milliseconds timeout);

    // The prepared statement for `query`, or null with the reason in `status`.
    sqlite3_stmt* statement(Query query, Status& status);

    // Rows changed by the last insert, update or delete.
    int changes() const;
    // Row id of the last insert.
    std::int64_t lastInsertId() const;

    // The registry error for an SQLite result code.
    static Status statusOf(int sqliteResult);

    // Gives up the connection without closing it. A forked child inherits its parent's connection
    // but must not use or close it (that would disturb the parent's locks); it opens its own.
    void abandon();

private:
    explicit Database(sqlite3* connection);
    Status prepareSchema();
    Status execute(const char* sql);
    Status readUserVersion(int& version);
    Status migrate(int fromVersion);

    sqlite3* m_connection;
    std::array<sqlite3_stmt*, std::size_t(Query::Count)> m_statements {};
};

} // namespace registry
