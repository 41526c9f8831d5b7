#pragma once
// One registry operation's transaction. Reads take a snapshot (BEGIN); writes take the database's
// write lock before they look at anything (BEGIN IMMEDIATE), so two processes changing the same key
// are serialised instead of one failing half-way. A transaction that is not committed rolls back.

#include "platform/registry/Database.h"

namespace registry {

class Transaction {
public:
    enum class Kind { Read, Write };

    Transaction(Database& database, Kind kind);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether the transaction began; ERROR_TIMEOUT when another process held the lock too long.
    Status status() const { return m_status; }
    Status commit();

private:
    Database& m_database;
    Status m_status;
    bool m_open = false;
};

} // namespace registry
