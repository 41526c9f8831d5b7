#pragma once
// One transaction on a connection, rolled back unless committed — on an early return, a failed
// step or an exception alike. A read transaction takes a snapshot (BEGIN); a write transaction
// takes the database's write lock before it looks at anything (BEGIN IMMEDIATE), so that two
// connections changing the same rows queue up instead of one failing half-way.

#include "platform/sqlite/Connection.h"

namespace sqlite {

class Transaction {
public:
    enum class Kind { Read, Write };

    Transaction(Connection& connection, Kind kind);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Whether the transaction began: Busy when another connection held the lock too long.
    Error error() const { return m_error; }
    // Makes the changes permanent. A failed commit leaves the transaction open, and it is rolled
    // back when the object ends; a transaction that never began answers with why.
    [[nodiscard]] Error commit();

private:
    Connection& m_connection;
    Error m_error;
    bool m_open = false;
};

} // namespace sqlite
