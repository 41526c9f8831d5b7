#include "platform/pim/IntegrityStamp.h"

#include "platform/device/AtomicFileWrite.h"

#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace pim {

namespace {

// "size mtime-seconds.nanoseconds device:inode", or "-" for a file that is missing or empty.
std::string describe(const std::filesystem::path& file)
{
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || info.st_size == 0)
        return "-";
    return std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
        std::to_string(info.st_mtim.tv_nsec) + " " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

std::filesystem::path withSuffix(const std::filesystem::path& file, const char* suffix)
{
    std::filesystem::path result = file;
    result += suffix;
    return result;
}

} // namespace

IntegrityStamp::IntegrityStamp(std::filesystem::path stampFile, std::string text)
    : m_stampFile(std::move(stampFile)), m_text(std::move(text))
{
}

IntegrityStamp IntegrityStamp::of(const std::filesystem::path& storeFile)
{
    std::string text = "tavrel-pim-check 1\nstore " + describe(storeFile) + "\nlog " +
        describe(withSuffix(storeFile, "-wal")) + "\n";
    return IntegrityStamp(withSuffix(storeFile, "-checked"), std::move(text));
}

bool IntegrityStamp::isRecorded() const
{
    std::ifstream in(m_stampFile, std::ios::binary);
    if (!in)
        return false;
    // A stamp is a few dozen bytes; anything much longer is not one.
    std::string recorded(256, '\0');
    in.read(recorded.data(), std::streamsize(recorded.size()));
    recorded.resize(std::size_t(in.gcount()));
    return recorded == m_text;
}

void IntegrityStamp::record() const { (void)device::writeFileAtomically(m_stampFile, m_text); }

} // namespace pim
