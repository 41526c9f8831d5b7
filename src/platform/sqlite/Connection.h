#pragma once
// One connection to an SQLite database file, as the registry and the appointment store use it:
// opened for reading and writing (created when missing), waiting up to a busy time-out for locks
// that other connections hold, and keeping its owner's statements prepared.
//
// The owner names its statements by an enumeration of its own and gives their SQL texts once
// (setQueries); each is prepared on first use, or all at once by prepareQueries(), and kept until
// finalizeQueries() or the end of the connection. Statement runs one of them; Transaction brackets
// a group. Nothing here throws; every fallible call says what went wrong as an Error.
//
// The connection has no mutex of its own (SQLITE_OPEN_NOMUTEX): its owner serialises the calls.

#include "platform/sqlite/Error.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace sqlite {

class Connection {
public:
    // Opens `file` for reading and writing, creating it when missing. Only opens: the file is read
    // by the first statement. On failure returns null and the reason in `error` (CannotOpen for a
    // missing folder or a folder in the file's place, NoMemory).
    [[nodiscard]] static std::unique_ptr<Connection> open(const std::filesystem::path& file,
                                                          std::chrono::milliseconds busyTimeout, Error& error);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // How long a statement waits for a lock held by another connection before it fails with Busy.
    void setBusyTimeout(std::chrono::milliseconds timeout);
    // Whether SQLite could only open the file for reading (the file is write-protected).
    bool isReadOnly() const;

    // Journals through a write-ahead log, so that readers never wait for a writer, with NORMAL
    // synchronisation: the file stays consistent through any crash, and a power loss can only roll
    // back the last commits. This is the first statement that reads the file: NotADatabase for a
    // file that is none, Busy for one that another connection holds beyond the time-out or keeps
    // in a mode that shuts the log out. Switching a new file needs it to itself for a moment: while
    // another process is reading it in its first moments (before its own switch), the switch is
    // tried again within the busy time-out.
    [[nodiscard]] Error useWriteAheadLog();

    // Runs SQL text of one or more statements that return no rows.
    [[nodiscard]] Error execute(const char* sql);
    // The first column of the first row of `sql`; `value` stays as it was when there is no row.
    [[nodiscard]] Error queryInteger(const char* sql, std::int64_t& value);
    [[nodiscard]] Error queryText(const char* sql, std::string& value);

    // The owner's statements: `sql[i]` is the text of statement i. The texts must outlive the
    // connection (a static table). Replaces (and finalizes) any statements of an earlier table.
    void setQueries(std::span<const char* const> sql);
    // Prepares every statement of the table now.
    [[nodiscard]] Error prepareQueries();
    // Finalizes every prepared statement; they are prepared again on their next use.
    void finalizeQueries();

    // Rows changed by the last insert, update or delete.
    int changes() const;
    // Row id of the last insert.
    std::int64_t lastInsertId() const;

    // Gives up the connection without finalizing or closing anything. A forked child inherits its
    // parent's connection but must not use or close it (that would disturb the parent's locks).
    void abandon();

private:
    friend class Statement;
    friend class Transaction;
    enum class Control { Begin, BeginImmediate, Commit, Rollback, Count };

    explicit Connection(sqlite3* connection);
    sqlite3_stmt* prepare(const char* sql, Error& error);
    // The owner's statement `index`, prepared when needed; null with the reason in `error`.
    sqlite3_stmt* query(std::size_t index, Error& error);
    // Runs a transaction control statement (kept prepared like the owner's).
    Error run(Control control);

    sqlite3* m_connection;
    std::chrono::milliseconds m_busyTimeout {0};
    std::span<const char* const> m_sql;
    std::vector<sqlite3_stmt*> m_queries;
    std::array<sqlite3_stmt*, std::size_t(Control::Count)> m_controls {};
};

} // namespace sqlite
