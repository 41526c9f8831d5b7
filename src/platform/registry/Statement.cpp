#include "platform/registry/Statement.h"

#include <sqlite3.h>

namespace registry {

Statement::Statement(Database& database, Database::Query query) : m_statement(database.statement(query, m_status)) {}

Statement::~Statement()
{
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
}

Statement& Statement::bind(std::int64_t value)
{
    if (m_status == ERROR_SUCCESS)
        m_status = Database::statusOf(sqlite3_bind_int64(m_statement, m_nextParameter, value));
    ++m_nextParameter;
    return *this;
}

Statement& Statement::bind(std::string_view bytes)
{
    // SQLite binds a null pointer as NULL, so an empty name or value points at a real empty text.
    static const char empty = 0;
    const char* data = bytes.empty() ? &empty : bytes.data();
    if (m_status == ERROR_SUCCESS)
        m_status = Database::statusOf(
            sqlite3_bind_blob64(m_statement, m_nextParameter, data, sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT));
    ++m_nextParameter;
    return *this;
}

bool Statement::next()
{
    if (m_status != ERROR_SUCCESS)
        return false;
    int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE)
        m_status = Database::statusOf(result);
    return false;
}

Status Statement::run()
{
    while (next()) {
    }
    return m_status;
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(m_statement, column); }

std::string_view Statement::blob(int column) const
{
    const void* data = sqlite3_column_blob(m_statement, column);
    int size = sqlite3_column_bytes(m_statement, column);
    if (!data || size <= 0)
        return {};
    return std::string_view(static_cast<const char*>(data), std::size_t(size));
}

} // namespace registry
