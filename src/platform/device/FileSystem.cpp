#include "platform/device/FileSystem.h"

#include "platform/device/DevicePath.h"
#include "platform/device/File.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace device {

namespace fs = std::filesystem;

namespace {

std::optional<FileInfo> infoOfHost(const fs::path& host)
{
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0 || S_ISLNK(st.st_mode))
        return std::nullopt;
    FileInfo info;
    info.directory = S_ISDIR(st.st_mode);
    info.readOnly = (st.st_mode & S_IWUSR) == 0;
    std::string name = host.filename().string();
    info.hidden = !name.empty() && name[0] == '.';
    info.size = info.directory ? 0 : std::uint64_t(st.st_size);
    info.lastWrite = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec)));
    return info;
}

bool copyHost(const fs::path& from, const fs::path& to, bool failIfExists)
{
    File source;
    if (!source.openHost(from, File::Read, File::Disposition::OpenExisting))
        return false;
    // Write next to the target first so that a failed copy never leaves a half-written target.
    fs::path temporary = to;
    temporary += ".copy-tmp";
    File target;
    if (!target.openHost(temporary, File::Write, File::Disposition::CreateAlways))
        return false;
    unsigned char buffer[64 * 1024];
    bool ok = true;
    for (;;) {
        auto n = source.read(buffer, sizeof buffer);
        if (!n) {
            ok = false;
            break;
        }
        if (*n == 0)
            break;
        if (target.write(buffer, *n) != *n) {
            ok = false;
            break;
        }
    }
    target.close();
    std::error_code ec;
    if (ok) {
        if (failIfExists) {
            // link() refuses an existing target atomically.
            ok = ::link(temporary.c_str(), to.c_str()) == 0;
            fs::remove(temporary, ec);
            return ok;
        }
        fs::rename(temporary, to, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temporary, ec);
    return ok;
}

} // namespace

bool FileSystem::exists(WideView path) { return info(path).has_value(); }

bool FileSystem::isDirectory(WideView path)
{
    auto i = info(path);
    return i && i->directory;
}

bool FileSystem::isFile(WideView path)
{
    auto i = info(path);
    return i && !i->directory;
}

std::optional<FileInfo> FileSystem::info(WideView path)
{
    auto host = DevicePath::toHost(path);
    if (!host)
        return std::nullopt;
    return infoOfHost(*host);
}

bool FileSystem::setLastWrite(WideView path, std::chrono::system_clock::time_point time)
{
    auto host = DevicePath::toHost(path);
    if (!host)
        return false;
    struct timespec times[2];
    auto since = time.time_since_epoch();
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = seconds.count();
    times[1].tv_nsec = long(std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
    return ::utimensat(AT_FDCWD, host->c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool FileSystem::setReadOnly(WideView path, bool readOnly)
{
    auto host = DevicePath::toHost(path);
    if (!host || !infoOfHost(*host))
        return false;
    std::error_code ec;
    fs::permissions(*host, fs::perms::owner_write, readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
    return !ec;
}

std::optional<std::vector<std::uint8_t>> FileSystem::readAll(WideView path)
{
    File file;
    if (!file.open(path, File::Read, File::Disposition::OpenExisting))
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    if (auto size = file.size())
        bytes.reserve(std::size_t(*size));
    unsigned char buffer[64 * 1024];
    for (;;) {
        auto n = file.read(buffer, sizeof buffer);
        if (!n)
            return std::nullopt;
        if (*n == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + *n);
    }
    return bytes;
}

bool FileSystem::writeAll(WideView path, const void* data, std::size_t size)
{
    File file;
    if (!file.open(path, File::Write, File::Disposition::CreateAlways))
        return false;
    return file.write(data, size) == size;
}

bool FileSystem::createDirectory(WideView path)
{
    auto host = DevicePath::toHost(path);
    return host && ::mkdir(host->c_str(), 0755) == 0;
}

bool FileSystem::createDirectories(WideView path)
{
    auto names = DevicePath::split(path);
    if (!names)
        return false;
    WideString current;
    for (const WideString& name : *names) {
        current = DevicePath::join(current.empty() ? WideView(u"\\") : WideView(current), name);
        auto i = info(current);
        if (i) {
            if (!i->directory)
                return false;
            continue;
        }
        if (!createDirectory(current))
            return false;
    }
    return true;
}

bool FileSystem::removeFile(WideView path)
{
    auto host = DevicePath::toHost(path);
    if (!host)
        return false;
    auto i = infoOfHost(*host);
    return i && !i->directory && ::unlink(host->c_str()) == 0;
}

bool FileSystem::removeDirectory(WideView path)
{
    auto host = DevicePath::toHost(path);
    if (!host || DevicePath::split(path)->empty())
        return false;
    return ::rmdir(host->c_str()) == 0;
}

bool FileSystem::move(WideView from, WideView to)
{
    auto source = DevicePath::toHost(from);
    auto target = DevicePath::toHost(to);
    if (!source || !target || !infoOfHost(*source))
        return false;
    if (DevicePath::split(from)->empty())
        return false;
    // A move never replaces: renameat2 with RENAME_NOREPLACE would be ideal; link+unlink gives the
    // same guarantee for files, and folders are checked first.
    auto sourceInfo = infoOfHost(*source);
    if (!sourceInfo->directory) {
        if (::link(source->c_str(), target->c_str()) != 0)
            return false;
        ::unlink(source->c_str());
        return true;
    }
    if (infoOfHost(*target))
        return false;
    std::error_code ec;
    fs::rename(*source, *target, ec);
    return !ec;
}

bool FileSystem::copy(WideView from, WideView to, bool failIfExists)
{
    auto source = DevicePath::toHost(from);
    auto target = DevicePath::toHost(to);
    if (!source || !target)
        return false;
    auto sourceInfo = infoOfHost(*source);
    if (!sourceInfo || sourceInfo->directory)
        return false;
    if (auto targetInfo = infoOfHost(*target)) {
        if (failIfExists || targetInfo->directory)
            return false;
    }
    return copyHost(*source, *target, failIfExists);
}

std::optional<std::vector<DirectoryEntry>> FileSystem::list(WideView folder, WideView pattern)
{
    auto host = DevicePath::toHost(folder);
    if (!host)
        return std::nullopt;
    auto folderInfo = infoOfHost(*host);
    if (!folderInfo || !folderInfo->directory)
        return std::nullopt;
    std::vector<DirectoryEntry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(*host, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        WideString name = fromUtf8(it->path().filename().string());
        if (!DevicePath::matchesPattern(name, pattern))
            continue;
        auto info = infoOfHost(it->path());
        if (!info)
            continue;
        entries.push_back({std::move(name), *info});
    }
    if (ec)
        return std::nullopt;
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return compareNoCase(a.name, b.name) < 0; });
    return entries;
}

} // namespace device
