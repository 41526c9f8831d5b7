#pragma once
// One use of a cached prepared statement: parameters are bound in order, rows are stepped through,
// and the statement is reset when the use ends, whatever happened, so the next use starts clean
// and no read snapshot is held open by accident.

#include "platform/registry/Database.h"

#include <cstdint>
#include <string_view>

namespace registry {

class Statement {
public:
    Statement(Database& database, Database::Query query);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // ERROR_SUCCESS while preparing, binding and stepping have gone well; the first failure sticks.
    Status status() const { return m_status; }

    Statement& bind(std::int64_t value);
    Statement& bind(std::string_view bytes); // bound as a BLOB; empty is a zero-length BLOB, never NULL

    // Steps once: true when a row is ready; false at the end or on failure (see status()).
    bool next();
    // Runs a statement that returns no rows; returns status().
    Status run();

    std::int64_t integer(int column) const;
    std::string_view blob(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    Status m_status = ERROR_SUCCESS;
    int m_nextParameter = 1;
};

} // namespace registry
