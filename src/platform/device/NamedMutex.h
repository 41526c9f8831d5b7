#pragma once
// A mutex that every program of the device shares by name, as the handheld's CreateMutex gives
// one: the first program to create "Tavrel" may own it, a later one opens the same mutex and learns
// that it already existed, and ownership passes on when the owner releases it, closes it or ends.
//
// It is built on two host file locks in the device folder's locks/ folder (outside the device's
// file system, so no device path reaches them): NAME.owner is locked exclusively by the owning
// handle, NAME.open is held shared by every open handle. The host drops both locks when a process
// ends, however it ends, so a crashed program never leaves the mutex owned.
//
// Ownership belongs to the handle (one NamedMutex object), not to a thread: two handles in one
// process exclude each other as two programs would.

#include "platform/device/WideText.h"

#include <chrono>
#include <filesystem>

namespace device {

class NamedMutex {
public:
    // Opens the mutex `name` on the selected device, creating it. With `initialOwner` the handle
    // takes ownership when nobody owns it now (it does not wait).
    NamedMutex(WideView name, bool initialOwner);
    ~NamedMutex(); // releases ownership and closes the handle
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    bool isOpen() const { return m_openFile >= 0; }
    // Another handle (in this or another program) had the mutex open when this one was created;
    // the handheld reports this as ERROR_ALREADY_EXISTS.
    bool alreadyExisted() const { return m_alreadyExisted; }
    bool isOwned() const { return m_owned; }

    // Takes ownership, waiting up to `timeout`; true at once when this handle owns it already.
    bool wait(std::chrono::milliseconds timeout);
    // Gives up ownership; false when this handle did not own it.
    bool release();
    void close();

    // The host file a mutex name maps to (letters, digits, "-", "_" and "." kept, every other
    // character written as "%XXXX"), without its extension.
    static std::filesystem::path lockBase(WideView name);

private:
    bool tryOwn();

    int m_openFile = -1;
    int m_ownerFile = -1;
    bool m_alreadyExisted = false;
    bool m_owned = false;
};

} // namespace device
