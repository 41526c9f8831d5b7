#include "platform/registry/KeyStore.h"

#include "platform/registry/KeyPath.h"
#include "platform/registry/Statement.h"

namespace registry {

using Query = Database::Query;

Status KeyStore::checkKey(std::int64_t key)
{
    Statement statement(m_database, Query::KeyExists);
    if (statement.bind(key).next())
        return ERROR_SUCCESS;
    return statement.status() != ERROR_SUCCESS ? statement.status() : ERROR_KEY_DELETED;
}

Status KeyStore::findChild(std::int64_t key, WideView name, std::int64_t& child)
{
    Statement statement(m_database, Query::FindChild);
    if (statement.bind(key).bind(KeyPath::foldedName(name)).next()) {
        child = statement.integer(0);
        return ERROR_SUCCESS;
    }
    return statement.status() != ERROR_SUCCESS ? statement.status() : ERROR_FILE_NOT_FOUND;
}

Status KeyStore::walk(std::int64_t key, WideView path, std::int64_t& found)
{
    for (WideView level : KeyPath::split(path)) {
        if (Status status = findChild(key, level, key); status != ERROR_SUCCESS)
            return status;
    }
    found = key;
    return ERROR_SUCCESS;
}

Status KeyStore::createPath(std::int64_t key, WideView path, std::int64_t& found, bool& created)
{
    created = false;
    for (WideView level : KeyPath::split(path)) {
        std::int64_t child = 0;
        Status status = findChild(key, level, child);
        created = status == ERROR_FILE_NOT_FOUND;
        if (created) {
            Statement insert(m_database, Query::InsertChild);
            status = insert.bind(key).bind(KeyPath::storedName(level)).bind(KeyPath::foldedName(level)).run();
            child = m_database.lastInsertId();
        }
        if (status != ERROR_SUCCESS)
            return status;
        key = child;
    }
    found = key;
    return ERROR_SUCCESS;
}

Status KeyStore::childAt(std::int64_t key, std::uint32_t index, device::WideString& name)
{
    Statement statement(m_database, Query::ChildAt);
    if (statement.bind(key).bind(std::int64_t(index)).next()) {
        std::string_view stored = statement.blob(0);
        name = KeyPath::fromStoredName(stored.data(), stored.size());
        return ERROR_SUCCESS;
    }
    return statement.status() != ERROR_SUCCESS ? statement.status() : ERROR_NO_MORE_ITEMS;
}

Status KeyStore::hasChildren(std::int64_t key, bool& result)
{
    Statement statement(m_database, Query::HasChildren);
    result = statement.bind(key).next();
    return statement.status();
}

Status KeyStore::removeKey(std::int64_t key)
{
    if (Status status = Statement(m_database, Query::DeleteKeyValues).bind(key).run(); status != ERROR_SUCCESS)
        return status;
    return Statement(m_database, Query::DeleteKey).bind(key).run();
}

Status KeyStore::findValue(std::int64_t key, WideView name, ValueRecord& value)
{
    Statement statement(m_database, Query::FindValue);
    if (statement.bind(key).bind(KeyPath::foldedName(name)).next()) {
        value.type = std::uint32_t(statement.integer(0));
        value.data.assign(statement.blob(1));
        return ERROR_SUCCESS;
    }
    return statement.status() != ERROR_SUCCESS ? statement.status() : ERROR_FILE_NOT_FOUND;
}

Status KeyStore::putValue(std::int64_t key, WideView name, std::uint32_t type, std::string_view data)
{
    return Statement(m_database, Query::UpsertValue)
        .bind(key)
        .bind(KeyPath::storedName(name))
        .bind(KeyPath::foldedName(name))
        .bind(std::int64_t(type))
        .bind(data)
        .run();
}

Status KeyStore::removeValue(std::int64_t key, WideView name)
{
    Status status = Statement(m_database, Query::DeleteValue).bind(key).bind(KeyPath::foldedName(name)).run();
    if (status == ERROR_SUCCESS && m_database.changes() == 0)
        return ERROR_FILE_NOT_FOUND;
    return status;
}

Status KeyStore::valueAt(std::int64_t key, std::uint32_t index, ValueRecord& value)
{
    Statement statement(m_database, Query::ValueAt);
    if (statement.bind(key).bind(std::int64_t(index)).next()) {
        std::string_view stored = statement.blob(0);
        value.name = KeyPath::fromStoredName(stored.data(), stored.size());
        value.type = std::uint32_t(statement.integer(1));
        value.data.assign(statement.blob(2));
        return ERROR_SUCCESS;
    }
    return statement.status() != ERROR_SUCCESS ? statement.status() : ERROR_NO_MORE_ITEMS;
}

} // namespace registry
