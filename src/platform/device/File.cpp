#include "platform/device/File.h"

#include "platform/device/DevicePath.h"
#include "platform/device/LastError.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace device {

File::~File() { close(); }

File::File(File&& other) noexcept : m_descriptor(other.m_descriptor) { other.m_descriptor = -1; }

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        close();
        m_descriptor = other.m_descriptor;
        other.m_descriptor = -1;
    }
    return *this;
}

bool File::open(WideView devicePath, unsigned access, Disposition disposition)
{
    auto host = DevicePath::toHost(devicePath);
    if (!host) {
        setLastError(ERROR_INVALID_NAME);
        return false;
    }
    return openHost(*host, access, disposition);
}

bool File::openHost(const std::filesystem::path& hostPath, unsigned access, Disposition disposition)
{
    close();
    // Never blocking on open: a FIFO in the device's file system would otherwise hold the caller
    // until some other program opened its other end (for ever, for the user-interface thread).
    int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    if ((access & ReadWrite) == ReadWrite)
        flags |= O_RDWR;
    else if (access & Write)
        flags |= O_WRONLY;
    else
        flags |= O_RDONLY;
    switch (disposition) {
    case Disposition::OpenExisting:
        break;
    case Disposition::CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    case Disposition::CreateAlways:
        flags |= O_CREAT | O_TRUNC;
        break;
    case Disposition::OpenAlways:
        flags |= O_CREAT;
        break;
    case Disposition::TruncateExisting:
        flags |= O_TRUNC;
        break;
    }
    if ((flags & O_TRUNC) && !(access & Write))
        return false;
    int fd;
    do {
        fd = ::open(hostPath.c_str(), flags, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        setLastErrorFromErrno(errno);
        return false;
    }
    // Only regular files are files of the device: a folder, a FIFO, a socket or a device node is
    // refused (reads from them could block or never end).
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        setLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // Reads and writes of a regular file wait as usual.
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        setLastErrorFromErrno(errno);
        ::close(fd);
        return false;
    }
    m_descriptor = fd;
    return true;
}

void File::close()
{
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
    }
}

std::optional<std::size_t> File::read(void* buffer, std::size_t size)
{
    if (m_descriptor < 0)
        return std::nullopt;
    std::size_t total = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (total < size) {
        ssize_t n = ::read(m_descriptor, bytes + total, size - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return total ? std::optional<std::size_t>(total) : std::nullopt;
        }
        if (n == 0)
            break;
        total += std::size_t(n);
    }
    return total;
}

std::size_t File::write(const void* data, std::size_t size)
{
    if (m_descriptor < 0)
        return 0;
    std::size_t total = 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (total < size) {
        ssize_t n = ::write(m_descriptor, bytes + total, size - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        total += std::size_t(n);
    }
    return total;
}

std::optional<std::int64_t> File::seek(std::int64_t offset, Origin origin)
{
    if (m_descriptor < 0)
        return std::nullopt;
    int whence = origin == Origin::Begin ? SEEK_SET : origin == Origin::Current ? SEEK_CUR : SEEK_END;
    off_t result = ::lseek(m_descriptor, off_t(offset), whence);
    if (result < 0)
        return std::nullopt;
    return std::int64_t(result);
}

std::optional<std::int64_t> File::size() const
{
    struct stat info {};
    if (m_descriptor < 0 || fstat(m_descriptor, &info) != 0)
        return std::nullopt;
    return std::int64_t(info.st_size);
}

bool File::flush() { return m_descriptor >= 0 && ::fsync(m_descriptor) == 0; }

} // namespace device
