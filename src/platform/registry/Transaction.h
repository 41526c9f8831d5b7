#pragma once
// One registry operation's transaction (sqlite::Transaction), answering in registry errors. Reads
// take a snapshot; writes take the database's write lock before they look at anything, so two
// processes changing the same key are serialised instead of one failing half-way. A transaction
// that is not committed rolls back.

#include "platform/registry/Database.h"
#include "platform/sqlite/Transaction.h"

namespace registry {

class Transaction {
public:
    enum class Kind { Read, Write };

    Transaction(Database& database, Kind kind)
        : m_transaction(database.connection(),
                        kind == Kind::Write ? sqlite::Transaction::Kind::Write : sqlite::Transaction::Kind::Read)
    {
    }

    // Whether the transaction began; ERROR_TIMEOUT when another process held the lock too long.
    Status status() const { return Database::statusOf(m_transaction.error()); }
    Status commit() { return Database::statusOf(m_transaction.commit()); }

private:
    sqlite::Transaction m_transaction;
};

} // namespace registry
