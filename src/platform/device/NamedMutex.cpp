#include "platform/device/NamedMutex.h"

#include "platform/device/DeviceFolder.h"
#include "platform/device/LastError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace device {

namespace {

int openLockFile(const std::filesystem::path& path)
{
    int descriptor;
    do {
        descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

bool lockFile(int descriptor, int operation)
{
    int result;
    do {
        result = ::flock(descriptor, operation);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

} // namespace

std::filesystem::path NamedMutex::lockBase(WideView name)
{
    std::string file;
    for (WChar c : name) {
        bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-'
                     || c == u'_' || c == u'.';
        if (plain && !(c == u'.' && file.empty())) {
            file += char(c);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            file += '%';
            for (int shift = 12; shift >= 0; shift -= 4)
                file += digits[(c >> shift) & 0xF];
        }
    }
    if (file.empty())
        file.push_back('%');
    return DeviceFolder::current().root() / "locks" / file;
}

NamedMutex::NamedMutex(WideView name, bool initialOwner)
{
    const std::filesystem::path base = lockBase(name);
    std::error_code ec;
    std::filesystem::create_directories(base.parent_path(), ec);
    std::filesystem::path openPath = base;
    openPath += ".open";
    std::filesystem::path ownerPath = base;
    ownerPath += ".owner";
    m_openFile = openLockFile(openPath);
    m_ownerFile = openLockFile(ownerPath);
    if (m_openFile < 0 || m_ownerFile < 0) {
        setLastErrorFromErrno(errno);
        close();
        return;
    }
    // Nobody else has it open when an exclusive lock can be had; then every handle keeps a shared
    // one for as long as it is open.
    if (lockFile(m_openFile, LOCK_EX | LOCK_NB)) {
        lockFile(m_openFile, LOCK_SH);
    } else {
        m_alreadyExisted = true;
        lockFile(m_openFile, LOCK_SH);
    }
    if (initialOwner)
        tryOwn();
    setLastError(m_alreadyExisted ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
}

NamedMutex::~NamedMutex() { close(); }

bool NamedMutex::tryOwn()
{
    if (m_owned)
        return true;
    if (m_ownerFile < 0)
        return false;
    m_owned = lockFile(m_ownerFile, LOCK_EX | LOCK_NB);
    return m_owned;
}

bool NamedMutex::wait(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!tryOwn()) {
        if (m_ownerFile < 0 || std::chrono::steady_clock::now() >= deadline) {
            setLastError(ERROR_TIMEOUT);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool NamedMutex::release()
{
    if (!m_owned)
        return false;
    lockFile(m_ownerFile, LOCK_UN);
    m_owned = false;
    return true;
}

void NamedMutex::close()
{
    release();
    if (m_ownerFile >= 0)
        ::close(m_ownerFile);
    if (m_openFile >= 0)
        ::close(m_openFile);
    m_ownerFile = -1;
    m_openFile = -1;
}

} // namespace device
