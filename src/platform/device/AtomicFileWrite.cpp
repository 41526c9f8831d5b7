#include "platform/device/AtomicFileWrite.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace device {

namespace {

using Failure = AtomicWriteResult::Failure;

AtomicWriteResult failed(Failure failure, int hostErrno)
{
    return {failure, std::error_code(hostErrno, std::generic_category())};
}

// A name no other write uses at the same time: the process id tells processes apart, the counter
// the writes of one process.
std::filesystem::path temporaryBeside(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter {0};
    std::filesystem::path temporary = target;
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
    return temporary;
}

int openExclusively(const std::filesystem::path& path)
{
    int descriptor;
    do {
        // 0666 so that the umask decides, as it would for any new file of the program.
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

bool writeEverything(int descriptor, const std::uint8_t* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        size -= std::size_t(written);
    }
    return true;
}

AtomicWriteResult writeAndFlush(int descriptor, std::span<const std::uint8_t> bytes)
{
    if (!writeEverything(descriptor, bytes.data(), bytes.size()))
        return failed(Failure::Write, errno);
    if (::fsync(descriptor) != 0)
        return failed(Failure::Flush, errno);
    return {};
}

} // namespace

std::string AtomicWriteResult::message(const std::filesystem::path& target) const
{
    const char* step = "";
    switch (failure) {
    case Failure::None:
        return {};
    case Failure::CreateTemporary:
        step = " (creating a temporary file beside it)";
        break;
    case Failure::Write:
        break;
    case Failure::Flush:
        step = " (flushing it to the disk)";
        break;
    case Failure::Rename:
        step = " (putting it in place)";
        break;
    }
    return "cannot write " + target.string() + step + ": " + reason.message();
}

AtomicWriteResult writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes)
{
    std::filesystem::path temporary;
    int descriptor = -1;
    // A leftover of a process that died with the same id can hold a name: take the next one.
    for (int attempt = 0; attempt < 8 && descriptor < 0; ++attempt) {
        temporary = temporaryBeside(target);
        descriptor = openExclusively(temporary);
        if (descriptor < 0 && errno != EEXIST)
            break;
    }
    if (descriptor < 0)
        return failed(Failure::CreateTemporary, errno);

    AtomicWriteResult result = writeAndFlush(descriptor, bytes);
    // The bytes are on the disk already; a close interrupted by a signal has still closed.
    if (::close(descriptor) != 0 && errno != EINTR && result)
        result = failed(Failure::Flush, errno);
    if (result && ::rename(temporary.c_str(), target.c_str()) != 0)
        result = failed(Failure::Rename, errno);
    if (!result)
        ::unlink(temporary.c_str());
    return result;
}

AtomicWriteResult writeFileAtomically(const std::filesystem::path& target, std::string_view text)
{
    return writeFileAtomically(target, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace device
