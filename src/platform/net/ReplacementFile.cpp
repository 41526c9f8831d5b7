#include "platform/net/ReplacementFile.h"

#include "platform/device/DevicePath.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace net {

namespace {

constexpr char TemporarySuffix[] = ".part";

std::string hostError(const std::string& what, int error)
{
    return what + ": " + std::strerror(error);
}

} // namespace

ReplacementFile::~ReplacementFile()
{
    abandon();
}

bool ReplacementFile::create(device::WideView target)
{
    abandon();
    m_errorText.clear();
    const auto host = device::DevicePath::toHost(target);
    if (!host || host->filename().empty())
        return fail("not a file path of the device: " + device::toUtf8(target));
    m_target = *host;
    // "." + name + "-XXXXXX.part": the random part is filled in by the host.
    std::string pattern = (m_target.parent_path() / ("." + m_target.filename().string() + "-XXXXXX")).string()
        + TemporarySuffix;
    const int descriptor = ::mkostemps(pattern.data(), int(sizeof TemporarySuffix - 1), O_CLOEXEC);
    if (descriptor < 0)
        return fail(hostError("cannot create a temporary file beside " + m_target.string(), errno));
    m_descriptor = descriptor;
    m_temporary = pattern;
    return true;
}

bool ReplacementFile::write(const void* data, std::size_t size)
{
    if (m_descriptor < 0)
        return false;
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(m_descriptor, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return fail(hostError("cannot write " + m_temporary.string(), errno));
        }
        bytes += written;
        size -= std::size_t(written);
    }
    return true;
}

bool ReplacementFile::commit()
{
    if (m_descriptor < 0)
        return fail("nothing to commit");
    if (::fsync(m_descriptor) != 0) {
        const int error = errno;
        abandon();
        return fail(hostError("cannot flush " + m_temporary.string(), error));
    }
    closeDescriptor();
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int error = errno;
        const std::string what = "cannot replace " + m_target.string();
        abandon();
        return fail(hostError(what, error));
    }
    m_temporary.clear();
    return true;
}

void ReplacementFile::abandon()
{
    closeDescriptor();
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        m_temporary.clear();
    }
}

bool ReplacementFile::fail(const std::string& what)
{
    if (m_errorText.empty())
        m_errorText = what;
    return false;
}

void ReplacementFile::closeDescriptor()
{
    if (m_descriptor >= 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
    }
}

} // namespace net
