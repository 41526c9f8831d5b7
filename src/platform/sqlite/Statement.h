#pragma once
// One use of one of the connection's prepared statements: parameters are bound in order, rows are
// stepped through, and when the use ends — however it ends — the statement is reset and its
// parameters cleared, so the next use starts clean and no read snapshot stays open by accident.
//
//     sqlite::Statement find(connection, Query::FindChild);
//     find.bindInteger(parent).bindBlob(name);
//     while (find.next())
//         use(find.integer(0));
//     if (find.error() != sqlite::Error::None) ...
//
// The first failure (preparing, binding or stepping) sticks: later binds and steps do nothing and
// error() reports it.

#include "platform/sqlite/Connection.h"

#include <cstdint>
#include <string_view>
#include <type_traits>

namespace sqlite {

class Statement {
public:
    // Statement `query` of the table the connection was given (Connection::setQueries).
    Statement(Connection& connection, std::size_t query);
    template <typename Query>
        requires std::is_enum_v<Query>
    Statement(Connection& connection, Query query) : Statement(connection, std::size_t(query))
    {
    }
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Error error() const { return m_error; }

    Statement& bindInteger(std::int64_t value);
    Statement& bindReal(double value);
    // Bound as a BLOB; empty is a zero-length BLOB, never NULL (NOT NULL columns accept it).
    Statement& bindBlob(std::string_view bytes);
    // Bound as UTF-8 TEXT; empty is an empty text, never NULL.
    Statement& bindText(std::string_view text);
    Statement& bindNull();

    // Steps once: true when a row is ready; false at the end or on failure (see error()).
    [[nodiscard]] bool next();
    // Runs a statement that returns no rows (or skips its rows).
    [[nodiscard]] Error run();

    // Columns of the current row.
    std::int64_t integer(int column) const;
    double real(int column) const;
    std::string_view blob(int column) const;
    std::string_view text(int column) const;
    bool isNull(int column) const;

private:
    template <typename Bind>
    Statement& bindNext(Bind bind);

    sqlite3_stmt* m_statement = nullptr;
    Error m_error = Error::None;
    int m_nextParameter = 1;
};

} // namespace sqlite
