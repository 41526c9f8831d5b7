#pragma once
// The registry's database: one SQLite connection (platform/sqlite) with the registry's schema and
// statements.
//
// The connection runs in WAL mode, so readers never wait for a writer and a writer waits for
// another writer at most the busy time-out. Statements are prepared once, on first use, and kept
// for the life of the connection. The schema carries a version (user_version): a new file gets
// the current schema, an older one is migrated step by step, and a file of a newer version is
// refused rather than guessed at.

#include "platform/registry/Registry.h"
#include "platform/sqlite/Connection.h"

#include <chrono>
#include <filesystem>
#include <memory>

namespace registry {

class Database {
public:
    // Every statement the registry runs, prepared on first use.
    enum class Query {
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

    // The connection, with the statements of Query prepared on first use.
    sqlite::Connection& connection() { return *m_connection; }

    // Rows changed by the last insert, update or delete.
    int changes() const;
    // Row id of the last insert.
    std::int64_t lastInsertId() const;

    // The registry error for an SQLite error.
    static Status statusOf(sqlite::Error error);

    // Gives up the connection without closing it. A forked child inherits its parent's connection
    // but must not use or close it (that would disturb the parent's locks); it opens its own.
    void abandon();

private:
    explicit Database(std::unique_ptr<sqlite::Connection> connection);
    Status prepareSchema();
    Status execute(const char* sql);
    Status migrate(int fromVersion);

    std::unique_ptr<sqlite::Connection> m_connection;
};

} // namespace registry
