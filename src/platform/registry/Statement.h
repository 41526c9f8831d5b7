#pragma once
// One use of one of the registry's statements (sqlite::Statement), answering in registry errors:
// parameters are bound in order, rows are stepped through, and the statement is reset when the
// use ends, whatever happened.

#include "platform/registry/Database.h"
#include "platform/sqlite/Statement.h"

#include <cstdint>
#include <string_view>

namespace registry {

class Statement {
public:
    Statement(Database& database, Database::Query query) : m_statement(database.connection(), query) {}

    // ERROR_SUCCESS while preparing, binding and stepping have gone well; the first failure sticks.
    Status status() const { return Database::statusOf(m_statement.error()); }

    Statement& bind(std::int64_t value)
    {
        m_statement.bindInteger(value);
        return *this;
    }
    // Bound as a BLOB; empty is a zero-length BLOB, never NULL.
    Statement& bind(std::string_view bytes)
    {
        m_statement.bindBlob(bytes);
        return *this;
    }

    // Steps once: true when a row is ready; false at the end or on failure (see status()).
    bool next() { return m_statement.next(); }
    // Runs a statement that returns no rows; returns status().
    Status run() { return Database::statusOf(m_statement.run()); }

    std::int64_t integer(int column) const { return m_statement.integer(column); }
    std::string_view blob(int column) const { return m_statement.blob(column); }

private:
    sqlite::Statement m_statement;
};

} // namespace registry
