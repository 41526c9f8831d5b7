#include "platform/sqlite/Transaction.h"

namespace sqlite {

Transaction::Transaction(Connection& connection, Kind kind) : m_connection(connection)
{
    m_error = m_connection.run(kind == Kind::Write ? Connection::Control::BeginImmediate : Connection::Control::Begin);
    m_open = m_error == Error::None;
}

Transaction::~Transaction()
{
    if (m_open)
        static_cast<void>(m_connection.run(Connection::Control::Rollback));
}

Error Transaction::commit()
{
    if (!m_open)
        return m_error;
    const Error error = m_connection.run(Connection::Control::Commit);
    if (error == Error::None)
        m_open = false;
    return error;
}

} // namespace sqlite
