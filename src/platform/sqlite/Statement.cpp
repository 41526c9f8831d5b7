#include "platform/sqlite/Statement.h"

#include <sqlite3.h>

namespace sqlite {

Statement::Statement(Connection& connection, std::size_t query) { m_statement = connection.query(query, m_error); }

Statement::~Statement()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
}

template <typename Bind>
Statement& Statement::bindNext(Bind bind)
{
    if (m_error == Error::None)
        m_error = errorOf(bind(m_statement, m_nextParameter));
    ++m_nextParameter;
    return *this;
}

Statement& Statement::bindInteger(std::int64_t value)
{
    return bindNext([value](sqlite3_stmt* statement, int index) {
        return sqlite3_bind_int64(statement, index, sqlite3_int64(value));
    });
}

Statement& Statement::bindReal(double value)
{
    return bindNext([value](sqlite3_stmt* statement, int index) {
        return sqlite3_bind_double(statement, index, value);
    });
}

Statement& Statement::bindBlob(std::string_view bytes)
{
    // SQLite binds a null pointer as NULL, so empty bytes point at a real empty text.
    static const char empty = 0;
    const char* data = bytes.empty() ? &empty : bytes.data();
    return bindNext([data, size = bytes.size()](sqlite3_stmt* statement, int index) {
        return sqlite3_bind_blob64(statement, index, data, sqlite3_uint64(size), SQLITE_TRANSIENT);
    });
}

Statement& Statement::bindText(std::string_view text)
{
    static const char empty = 0;
    const char* data = text.empty() ? &empty : text.data();
    return bindNext([data, size = text.size()](sqlite3_stmt* statement, int index) {
        return sqlite3_bind_text64(statement, index, data, sqlite3_uint64(size), SQLITE_TRANSIENT, SQLITE_UTF8);
    });
}

Statement& Statement::bindNull()
{
    return bindNext([](sqlite3_stmt* statement, int index) { return sqlite3_bind_null(statement, index); });
}

bool Statement::next()
{
    if (m_error != Error::None)
        return false;
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        m_error = errorOf(result);
    return false;
}

Error Statement::run()
{
    while (next()) {
    }
    return m_error;
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(m_statement, column); }

double Statement::real(int column) const { return sqlite3_column_double(m_statement, column); }

std::string_view Statement::blob(int column) const
{
    const void* data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    if (!data || size <= 0)
        return {};
    return std::string_view(static_cast<const char*>(data), std::size_t(size));
}

std::string_view Statement::text(int column) const
{
    const unsigned char* data = sqlite3_column_text(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    if (!data || size <= 0)
        return {};
    return std::string_view(reinterpret_cast<const char*>(data), std::size_t(size));
}

bool Statement::isNull(int column) const { return sqlite3_column_type(m_statement, column) == SQLITE_NULL; }

} // namespace sqlite
