#include "platform/registry/Registry.h"

#include "platform/device/DeviceFolder.h"
#include "platform/registry/Database.h"
#include "platform/registry/HandleTable.h"
#include "platform/registry/KeyPath.h"
#include "platform/registry/KeyStore.h"
#include "platform/registry/Transaction.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>
#include <pthread.h>

namespace registry {

namespace {

// The process's registry: one connection, the handle table and the settings. Calls are
// serialised by one mutex; each is short (one transaction of a few index probes), and the only
// wait is for another process's write lock, bounded by the busy time-out.
struct ProcessRegistry {
    std::mutex mutex;
    std::filesystem::path chosenFile; // set by useDatabase; empty: the device folder's registry.db
    std::chrono::milliseconds busyTimeout {5000};
    std::chrono::milliseconds appliedBusyTimeout {5000}; // what the connection has now
    std::filesystem::path file;       // the file `generation` stands for
    std::uint64_t generation = 0;
    std::unique_ptr<Database> database;
    bool inheritedAcrossFork = false;
    HandleTable handles;
};

// The wait a ScopedBusyTimeout of this thread asked for.
thread_local std::optional<std::chrono::milliseconds> threadBusyTimeout;

ProcessRegistry& processRegistry()
{
    // Never destroyed, so keys closed by other objects' destructors at exit still find it; the
    // connection itself is closed at exit (and would simply be opened again by a later call).
    static ProcessRegistry* instance = [] {
        auto* created = new ProcessRegistry;
        // A fork copies the mutex and the connection. Holding the mutex across fork() keeps the
        // child from inheriting it locked by a thread that does not exist there, and the child
        // marks the connection as not its own.
        pthread_atfork([] { processRegistry().mutex.lock(); },
                       [] { processRegistry().mutex.unlock(); },
                       [] {
                           processRegistry().inheritedAcrossFork = true;
                           processRegistry().mutex.unlock();
                       });
        std::atexit([] {
            std::lock_guard lock(processRegistry().mutex);
            processRegistry().database.reset();
        });
        return created;
    }();
    return *instance;
}

// Runs one operation under the registry's lock. Nothing leaves the API as an exception: running
// out of memory becomes ERROR_NOT_ENOUGH_MEMORY and anything else a failed registry access.
template <typename Body>
Status locked(Body body) noexcept
{
    try {
        ProcessRegistry& registry = processRegistry();
        std::lock_guard lock(registry.mutex);
        return body(registry);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (...) {
        return ERROR_REGISTRY_IO_FAILED;
    }
}

Status acquire(ProcessRegistry& registry, Database*& database)
{
    const std::filesystem::path& file =
        registry.chosenFile.empty() ? device::DeviceFolder::current().registryFile() : registry.chosenFile;
    if (file.native() != registry.file.native()) {
        registry.database.reset();
        registry.file = file;
        ++registry.generation;
    }
    if (registry.inheritedAcrossFork) {
        if (registry.database)
            registry.database->abandon();
        registry.database.reset();
        registry.inheritedAcrossFork = false;
    }
    if (!registry.database) {
        Status status = ERROR_SUCCESS;
        registry.database = Database::open(registry.file, registry.busyTimeout, status);
        if (!registry.database)
            return status;
        registry.appliedBusyTimeout = registry.busyTimeout;
    }
    // The calling thread's own wait, if it asked for one; the connection is the process's.
    const std::chrono::milliseconds wanted = threadBusyTimeout.value_or(registry.busyTimeout);
    if (wanted != registry.appliedBusyTimeout) {
        registry.database->setBusyTimeout(wanted);
        registry.appliedBusyTimeout = wanted;
    }
    database = registry.database.get();
    return ERROR_SUCCESS;
}

Status resolve(const ProcessRegistry& registry, HKEY handle, std::int64_t& key)
{
    if (handle == HKEY_CURRENT_USER) {
        key = Database::CurrentUserKey;
        return ERROR_SUCCESS;
    }
    if (handle == HKEY_LOCAL_MACHINE) {
        key = Database::LocalMachineKey;
        return ERROR_SUCCESS;
    }
    HandleTable::Entry entry;
    if (!handle || !registry.handles.find(handle, entry) || entry.generation != registry.generation)
        return ERROR_INVALID_HANDLE;
    key = entry.key;
    return ERROR_SUCCESS;
}

// Finds the store and the key id behind a handle, ready for one operation.
Status prepare(ProcessRegistry& registry, HKEY handle, Database*& database, std::int64_t& key)
{
    if (Status status = acquire(registry, database); status != ERROR_SUCCESS)
        return status;
    return resolve(registry, handle, key);
}

// Runs one step of an operation inside a transaction of `kind`, after making sure that `key`
// still exists (another process may have deleted it since the handle was opened). The
// transaction commits only when every step succeeded; otherwise it rolls back.
template <typename Step>
Status onLiveKey(Database& database, Transaction::Kind kind, std::int64_t key, Step step)
{
    Transaction transaction(database, kind);
    KeyStore store(database);
    Status status = transaction.status();
    if (status == ERROR_SUCCESS)
        status = store.checkKey(key);
    if (status == ERROR_SUCCESS)
        status = step(store);
    if (status == ERROR_SUCCESS)
        status = transaction.commit();
    return status;
}

// The same for the key behind a handle: finds the store and the key id first.
template <typename Step>
Status onLiveKey(ProcessRegistry& registry, HKEY handle, Transaction::Kind kind, Step step)
{
    Database* database = nullptr;
    std::int64_t key = 0;
    if (Status status = prepare(registry, handle, database, key); status != ERROR_SUCCESS)
        return status;
    return onLiveKey(*database, kind, key, [&](KeyStore& store) { return step(store, key); });
}

bool validPath(WideView path)
{
    for (WideView level : KeyPath::split(path)) {
        if (level.size() > MaxNameLength)
            return false;
    }
    return true;
}

bool validValueName(WideView name) { return name.size() <= MaxNameLength; }

// Copies a value's data out the way the handheld does: with no buffer only the size is told; a
// buffer too small is left alone and the caller learns the size it needs.
Status deliverData(const ValueRecord& value, std::uint32_t* type, void* data, std::uint32_t* size)
{
    if (type)
        *type = value.type;
    std::uint32_t stored = std::uint32_t(value.data.size());
    if (data) {
        if (*size < stored) {
            *size = stored;
            return ERROR_MORE_DATA;
        }
        if (stored)
            std::memcpy(data, value.data.data(), stored);
    }
    if (size)
        *size = stored;
    return ERROR_SUCCESS;
}

Status deliverName(const device::WideString& found, WChar* name, std::uint32_t* nameLength)
{
    if (found.size() + 1 > *nameLength)
        return ERROR_MORE_DATA;
    std::memcpy(name, found.data(), found.size() * sizeof(WChar));
    name[found.size()] = 0;
    *nameLength = std::uint32_t(found.size());
    return ERROR_SUCCESS;
}

} // namespace

Status openKey(HKEY parent, WideView subKey, HKEY* result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (!validPath(subKey))
        return ERROR_INVALID_PARAMETER;
    return locked([&](ProcessRegistry& registry) -> Status {
        std::int64_t opened = 0;
        Status status = onLiveKey(registry, parent, Transaction::Kind::Read,
                                  [&](KeyStore& store, std::int64_t key) { return store.walk(key, subKey, opened); });
        if (status == ERROR_SUCCESS)
            *result = registry.handles.add(registry.generation, opened);
        return status;
    });
}

Status createKey(HKEY parent, WideView subKey, HKEY* result, std::uint32_t* disposition)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (!validPath(subKey))
        return ERROR_INVALID_PARAMETER;
    return locked([&](ProcessRegistry& registry) -> Status {
        Database* database = nullptr;
        std::int64_t parentKey = 0;
        if (Status status = prepare(registry, parent, database, parentKey); status != ERROR_SUCCESS)
            return status;
        std::int64_t key = 0;
        bool created = false;
        // Most creates find the key already there; that needs no write lock.
        Status status = onLiveKey(*database, Transaction::Kind::Read, parentKey,
                                  [&](KeyStore& store) { return store.walk(parentKey, subKey, key); });
        if (status == ERROR_FILE_NOT_FOUND) {
            status = onLiveKey(*database, Transaction::Kind::Write, parentKey, [&](KeyStore& store) {
                return store.createPath(parentKey, subKey, key, created);
            });
        }
        if (status != ERROR_SUCCESS)
            return status;
        *result = registry.handles.add(registry.generation, key);
        if (disposition)
            *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    });
}

Status closeKey(HKEY key)
{
    if (key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE)
        return ERROR_SUCCESS;
    return locked([&](ProcessRegistry& registry) -> Status {
        return registry.handles.remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    });
}

Status queryValue(HKEY handle, WideView name, std::uint32_t* type, void* data, std::uint32_t* size)
{
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    if (!validValueName(name))
        return ERROR_FILE_NOT_FOUND;
    return locked([&](ProcessRegistry& registry) -> Status {
        Database* database = nullptr;
        std::int64_t key = 0;
        if (Status status = prepare(registry, handle, database, key); status != ERROR_SUCCESS)
            return status;
        Transaction transaction(*database, Transaction::Kind::Read);
        KeyStore store(*database);
        ValueRecord value;
        Status status = transaction.status();
        if (status == ERROR_SUCCESS)
            status = store.findValue(key, name, value);
        // A missing value may mean that the key itself has gone.
        if (status == ERROR_FILE_NOT_FOUND) {
            if (Status keyStatus = store.checkKey(key); keyStatus != ERROR_SUCCESS)
                status = keyStatus;
        }
        if (status == ERROR_SUCCESS)
            status = transaction.commit();
        if (status != ERROR_SUCCESS)
            return status;
        return deliverData(value, type, data, size);
    });
}

Status setValue(HKEY handle, WideView name, std::uint32_t type, const void* data, std::uint32_t size)
{
    if ((!data && size) || !validValueName(name))
        return ERROR_INVALID_PARAMETER;
    return locked([&](ProcessRegistry& registry) -> Status {
        return onLiveKey(registry, handle, Transaction::Kind::Write, [&](KeyStore& store, std::int64_t key) {
            return store.putValue(key, name, type, std::string_view(static_cast<const char*>(data), size));
        });
    });
}

Status deleteValue(HKEY handle, WideView name)
{
    if (!validValueName(name))
        return ERROR_FILE_NOT_FOUND;
    return locked([&](ProcessRegistry& registry) -> Status {
        return onLiveKey(registry, handle, Transaction::Kind::Write,
                         [&](KeyStore& store, std::int64_t key) { return store.removeValue(key, name); });
    });
}

Status enumKey(HKEY handle, std::uint32_t index, WChar* name, std::uint32_t* nameLength)
{
    if (!name || !nameLength)
        return ERROR_INVALID_PARAMETER;
    return locked([&](ProcessRegistry& registry) -> Status {
        device::WideString found;
        Status status = onLiveKey(registry, handle, Transaction::Kind::Read,
                                  [&](KeyStore& store, std::int64_t key) { return store.childAt(key, index, found); });
        if (status != ERROR_SUCCESS)
            return status;
        return deliverName(found, name, nameLength);
    });
}

Status enumValue(HKEY handle, std::uint32_t index, WChar* name, std::uint32_t* nameLength, std::uint32_t* type,
                 void* data, std::uint32_t* size)
{
    if (!name || !nameLength || (data && !size))
        return ERROR_INVALID_PARAMETER;
    return locked([&](ProcessRegistry& registry) -> Status {
        ValueRecord value;
        Status status = onLiveKey(registry, handle, Transaction::Kind::Read,
                                  [&](KeyStore& store, std::int64_t key) { return store.valueAt(key, index, value); });
        if (status != ERROR_SUCCESS)
            return status;
        if (Status nameStatus = deliverName(value.name, name, nameLength); nameStatus != ERROR_SUCCESS)
            return nameStatus;
        return deliverData(value, type, data, size);
    });
}

Status deleteKey(HKEY parent, WideView subKey)
{
    // An empty path would name the parent itself; a key is only ever deleted from its parent.
    if (KeyPath::split(subKey).empty())
        return ERROR_INVALID_PARAMETER;
    if (!validPath(subKey))
        return ERROR_FILE_NOT_FOUND;
    return locked([&](ProcessRegistry& registry) -> Status {
        return onLiveKey(registry, parent, Transaction::Kind::Write, [&](KeyStore& store, std::int64_t parentKey) {
            std::int64_t key = 0;
            Status status = store.walk(parentKey, subKey, key);
            bool hasChildren = false;
            if (status == ERROR_SUCCESS)
                status = store.hasChildren(key, hasChildren);
            if (status == ERROR_SUCCESS && hasChildren)
                status = ERROR_ACCESS_DENIED;
            if (status == ERROR_SUCCESS)
                status = store.removeKey(key);
            return status;
        });
    });
}

void useDatabase(const std::filesystem::path& file)
{
    locked([&](ProcessRegistry& registry) -> Status {
        registry.chosenFile = file;
        // Let go of the old file now, not at the next operation, so that it is complete and
        // closed once this returns.
        if (registry.database && registry.inheritedAcrossFork)
            registry.database->abandon();
        registry.database.reset();
        return ERROR_SUCCESS;
    });
}

void setBusyTimeout(std::chrono::milliseconds timeout)
{
    locked([&](ProcessRegistry& registry) -> Status {
        registry.busyTimeout = timeout;
        if (registry.database && !registry.inheritedAcrossFork) {
            registry.database->setBusyTimeout(timeout);
            registry.appliedBusyTimeout = timeout;
        }
        return ERROR_SUCCESS;
    });
}

ScopedBusyTimeout::ScopedBusyTimeout(std::chrono::milliseconds timeout)
    : m_previous(threadBusyTimeout.value_or(std::chrono::milliseconds(0))), m_hadPrevious(threadBusyTimeout.has_value())
{
    threadBusyTimeout = timeout;
}

ScopedBusyTimeout::~ScopedBusyTimeout()
{
    if (m_hadPrevious)
        threadBusyTimeout = m_previous;
    else
        threadBusyTimeout.reset();
}

} // namespace registry
