#include "platform/registry/Transaction.h"

#include "platform/registry/Statement.h"

namespace registry {

Transaction::Transaction(Database& database, Kind kind) : m_database(database)
{
    m_status = Statement(database, kind == Kind::Write ? Database::Query::BeginWrite : Database::Query::BeginRead).run();
    m_open = m_status == ERROR_SUCCESS;
}

Transaction::~Transaction()
{
    if (m_open)
        Statement(m_database, Database::Query::Rollback).run();
}

Status Transaction::commit()
{
    if (!m_open)
        return m_status;
    Status status = Statement(m_database, Database::Query::Commit).run();
    // A failed COMMIT leaves the transaction open; the destructor rolls it back.
    if (status == ERROR_SUCCESS)
        m_open = false;
    return status;
}

} // namespace registry
