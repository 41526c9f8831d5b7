#pragma once
// The handheld's registry: a hierarchical store of named, typed values in two hives, the current
// user's and the local machine's. Every program of the device opens the same store (the device
// folder's registry.db), so every operation is one atomic transaction and none is lost when
// several processes write at once.
//
// The operations are shaped like the handheld's Reg* calls: each takes a key handle and returns
// an error code (ERROR_SUCCESS on success). Key and value names compare without regard to ASCII
// case and keep the case they were first given. Key paths separate levels with backslashes; value
// names are never paths ("\Colors\Busy" is one value name). The empty value name is the key's
// default value. No operation throws.

#include "platform/device/LastError.h"
#include "platform/device/WideText.h"

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace registry {

using device::WChar;
using device::WideView;

// Every operation returns one of the handheld's error codes.
using Status = std::uint32_t;
using device::ERROR_ACCESS_DENIED;
using device::ERROR_FILE_NOT_FOUND;
using device::ERROR_INVALID_HANDLE;
using device::ERROR_INVALID_PARAMETER;
using device::ERROR_MORE_DATA;
using device::ERROR_NO_MORE_ITEMS;
using device::ERROR_NOT_ENOUGH_MEMORY;
using device::ERROR_SUCCESS;
using device::ERROR_TIMEOUT;
// The store is unreadable: not a registry database, damaged, or of a newer format.
inline constexpr Status ERROR_BADDB = 1009;
// The store cannot be opened or written (missing folder, read-only file, disk full...).
inline constexpr Status ERROR_REGISTRY_IO_FAILED = 1016;
// The handle's key has been deleted (by this or another process) since it was opened.
inline constexpr Status ERROR_KEY_DELETED = 1018;

// A key handle. The two hives have predefined handles that are always open; every other handle
// comes from openKey or createKey and is released with closeKey.
struct KeyObject;
using HKEY = KeyObject*;
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t(0x80000001u));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t(0x80000002u));

// The handheld's value type codes.
enum ValueType : std::uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,        // text: UTF-16 code units including the terminating 0
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,    // raw bytes
    REG_DWORD = 4,     // 32-bit number, 4 bytes in the host's byte order
    REG_MULTI_SZ = 7,
};

// What createKey did.
enum Disposition : std::uint32_t {
    REG_CREATED_NEW_KEY = 1,
    REG_OPENED_EXISTING_KEY = 2,
};

// Longest key name (one level of a path) and value name, in UTF-16 code units. Names up to this
// length always fit the 260-character buffers callers enumerate into.
inline constexpr std::size_t MaxNameLength = 255;

// Opens the key `subKey` below `parent` (every level must exist). An empty path opens a second,
// independent handle to `parent` itself.
Status openKey(HKEY parent, WideView subKey, HKEY* result);

// Opens `subKey` below `parent`, creating every missing level. `disposition` (optional) tells
// whether the last level was created or already existed.
Status createKey(HKEY parent, WideView subKey, HKEY* result, std::uint32_t* disposition = nullptr);

// Releases a handle. Closing a predefined hive handle does nothing and succeeds.
Status closeKey(HKEY key);

// Reads a value. `type` and `size` are optional outputs; with `data` null only the type and size
// are returned. With `data`, `*size` is the buffer's size in bytes on entry and the value's size
// on return; a buffer too small leaves it untouched and gives ERROR_MORE_DATA.
Status queryValue(HKEY key, WideView name, std::uint32_t* type, void* data, std::uint32_t* size);

// Creates or replaces a value. A replaced value keeps its place in the enumeration order and the
// spelling of its name.
Status setValue(HKEY key, WideView name, std::uint32_t type, const void* data, std::uint32_t size);

Status deleteValue(HKEY key, WideView name);

// Names the subkey at `index`, in alphabetical order ignoring case. `*nameLength` is the buffer's
// size in characters (terminator included) on entry and the name's length without the terminator
// on return. ERROR_NO_MORE_ITEMS past the last subkey; ERROR_MORE_DATA when the name does not fit.
Status enumKey(HKEY key, std::uint32_t index, WChar* name, std::uint32_t* nameLength);

// Names the value at `index`, in the order the values were created, with optionally its type
// and data (the data as for queryValue).
Status enumValue(HKEY key, std::uint32_t index, WChar* name, std::uint32_t* nameLength, std::uint32_t* type,
                 void* data, std::uint32_t* size);

// Deletes the key `subKey` below `parent` with its values. A key that still has subkeys is not
// deleted (ERROR_ACCESS_DENIED); the hives themselves cannot be deleted.
Status deleteKey(HKEY parent, WideView subKey);

// The store this process uses: by default the selected device folder's registry.db. Tests and
// tools may name another database file; an empty path returns to the default. Handles opened on
// another store stop working (ERROR_INVALID_HANDLE).
void useDatabase(const std::filesystem::path& file);

// How long an operation waits for another process's transaction before it fails with
// ERROR_TIMEOUT. Five seconds unless changed.
void setBusyTimeout(std::chrono::milliseconds timeout);

// Another wait for the operations the calling thread makes while the object lives (they nest; the
// innermost counts). A user-interface thread that must not stand still while another program
// holds the registry locked asks for a short wait, and keeps what it could not write for later.
// Other threads keep their wait. (The process's operations are serialised, so another thread's
// operation can still hold this one up for as long as that thread's own wait.)
class ScopedBusyTimeout {
public:
    explicit ScopedBusyTimeout(std::chrono::milliseconds timeout);
    ~ScopedBusyTimeout();
    ScopedBusyTimeout(const ScopedBusyTimeout&) = delete;
    ScopedBusyTimeout& operator=(const ScopedBusyTimeout&) = delete;

private:
    std::chrono::milliseconds m_previous;
    bool m_hadPrevious;
};

} // namespace registry
