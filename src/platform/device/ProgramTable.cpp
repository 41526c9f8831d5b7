#include "platform/device/ProgramTable.h"

#include "platform/device/AtomicFileWrite.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/DevicePath.h"

#include <fstream>
#include <sstream>

namespace device {

namespace {

constexpr std::uintmax_t maximumTableSize = 1024 * 1024;

bool writable(const std::string& text) { return text.find_first_of("\t\r\n") == std::string::npos; }

} // namespace

std::filesystem::path ProgramTable::file() { return DeviceFolder::current().root() / "programs.txt"; }

WideString ProgramTable::canonical(WideView devicePath)
{
    // The root itself is no program.
    WideString path = DevicePath::normalise(devicePath);
    return path == u"\\" ? WideString() : path;
}

std::vector<ProgramTable::Entry> ProgramTable::read()
{
    std::vector<Entry> entries;
    std::error_code ec;
    const std::filesystem::path path = file();
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) > maximumTableSize)
        return entries;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        WideString devicePath = canonical(fromUtf8(line.substr(0, tab)));
        std::filesystem::path host = line.substr(tab + 1);
        if (devicePath.empty() || !host.is_absolute())
            continue;
        entries.push_back({std::move(devicePath), std::move(host)});
    }
    return entries;
}

bool ProgramTable::write(const std::vector<Entry>& entries, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    std::ostringstream text;
    text << "# Device programs and the host programs that run them; written by tavrel-device install.\n";
    for (const Entry& entry : entries) {
        const WideString devicePath = canonical(entry.devicePath);
        const std::string device = toUtf8(devicePath);
        const std::string host = entry.hostProgram.string();
        if (devicePath.empty() || !writable(device))
            return fail("not a device path: " + toUtf8(entry.devicePath));
        if (!entry.hostProgram.is_absolute() || !writable(host))
            return fail("not an absolute host path: " + host);
        text << device << '\t' << host << '\n';
    }
    const std::filesystem::path target = file();
    if (const AtomicWriteResult written = writeFileAtomically(target, text.str()); !written)
        return fail(written.message(target));
    return true;
}

std::optional<std::filesystem::path> ProgramTable::find(WideView devicePath)
{
    const WideString wanted = canonical(devicePath);
    if (wanted.empty())
        return std::nullopt;
    for (const Entry& entry : read())
        if (equalsNoCase(entry.devicePath, wanted))
            return entry.hostProgram;
    return std::nullopt;
}

bool ProgramTable::set(WideView devicePath, const std::filesystem::path& hostProgram, std::string* error)
{
    std::vector<Entry> entries = read();
    const WideString wanted = canonical(devicePath);
    std::erase_if(entries, [&](const Entry& entry) { return equalsNoCase(entry.devicePath, wanted); });
    entries.push_back({WideString(devicePath), hostProgram});
    return write(entries, error);
}

bool ProgramTable::remove(WideView devicePath, std::string* error)
{
    std::vector<Entry> entries = read();
    const WideString wanted = canonical(devicePath);
    const std::size_t removed =
        std::erase_if(entries, [&](const Entry& entry) { return equalsNoCase(entry.devicePath, wanted); });
    return removed == 0 || write(entries, error);
}

} // namespace device
