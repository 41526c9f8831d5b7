#pragma once
// The registry's keys and values as rows, addressed by key id. Each call is one or two index
// probes; the caller wraps a whole registry operation in one Transaction.

#include "platform/registry/Database.h"

#include <cstdint>
#include <string>

namespace registry {

struct ValueRecord {
    device::WideString name;
    std::uint32_t type = REG_NONE;
    std::string data;
};

class KeyStore {
public:
    explicit KeyStore(Database& database) : m_database(database) {}

    // ERROR_SUCCESS when the key exists, ERROR_KEY_DELETED when it no longer does.
    Status checkKey(std::int64_t key);

    // Follows a backslash path down from `key`; ERROR_FILE_NOT_FOUND when a level is missing.
    Status walk(std::int64_t key, WideView path, std::int64_t& found);
    // Follows a path down from `key`, creating missing levels; `created` tells whether the last
    // level was new.
    Status createPath(std::int64_t key, WideView path, std::int64_t& found, bool& created);

    // The name of the subkey at `index` in case-insensitive order; ERROR_NO_MORE_ITEMS past the end.
    Status childAt(std::int64_t key, std::uint32_t index, device::WideString& name);
    Status hasChildren(std::int64_t key, bool& result);
    // Removes a key and its values (the caller has made sure it has no subkeys).
    Status removeKey(std::int64_t key);

    Status findValue(std::int64_t key, WideView name, ValueRecord& value);
    Status putValue(std::int64_t key, WideView name, std::uint32_t type, std::string_view data);
    // ERROR_FILE_NOT_FOUND when there was no such value.
    Status removeValue(std::int64_t key, WideView name);
    // The value at `index` in creation order; ERROR_NO_MORE_ITEMS past the end.
    Status valueAt(std::int64_t key, std::uint32_t index, ValueRecord& value);

private:
    Status findChild(std::int64_t key, WideView name, std::int64_t& child);

    Database& m_database;
};

} // namespace registry
