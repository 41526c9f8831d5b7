#include "platform/device/DeviceIdentity.h"

#include "platform/device/AtomicFileWrite.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/LastError.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>

namespace device {

namespace {

constexpr const char* MajorVersionName = "OsMajorVersion";
constexpr const char* PlatformTypeName = "PlatformType";
// Larger than any identity; a bigger file is not read at all.
constexpr std::uintmax_t MaximumFileSize = 64 * 1024;

std::optional<std::uint32_t> parseMajorVersion(std::string_view text)
{
    std::uint32_t version = 0;
    const char* end = text.data() + text.size();
    const auto [stop, result] = std::from_chars(text.data(), end, version);
    if (result != std::errc() || stop != end || !DeviceIdentity::checkMajorVersion(version).empty())
        return std::nullopt;
    return version;
}

} // namespace

std::filesystem::path DeviceIdentity::file() { return DeviceFolder::current().root() / "identity.txt"; }

std::string DeviceIdentity::checkMajorVersion(std::uint32_t version)
{
    if (version < 1 || version > MaximumMajorVersion)
        return "the major version must be a whole number from 1 to " + std::to_string(MaximumMajorVersion);
    return {};
}

std::string DeviceIdentity::checkPlatformType(WideView text)
{
    if (text.empty() || text.size() > MaximumPlatformTypeLength)
        return "the platform type must be 1 to " + std::to_string(MaximumPlatformTypeLength) + " characters";
    if (std::any_of(text.begin(), text.end(), [](WChar c) { return c < u' ' || c == u'\x7f'; }))
        return "the platform type must not hold control characters";
    return {};
}

DeviceIdentity DeviceIdentity::read()
{
    DeviceIdentity identity;
    std::error_code ec;
    const std::filesystem::path path = file();
    if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) > MaximumFileSize)
        return identity;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string name = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (name == MajorVersionName) {
            if (const std::optional<std::uint32_t> version = parseMajorVersion(value))
                identity.majorVersion = *version;
        } else if (name == PlatformTypeName) {
            WideString text = fromUtf8(value);
            if (checkPlatformType(text).empty())
                identity.platformType = std::move(text);
        }
    }
    return identity;
}

bool DeviceIdentity::write(std::string* error) const
{
    std::string why = checkMajorVersion(majorVersion);
    if (why.empty())
        why = checkPlatformType(platformType);
    if (!why.empty()) {
        if (error)
            *error = why;
        return false;
    }
    const std::string text = std::string("# What the device answers when a program asks (tavrel-device identity)\n")
                             + MajorVersionName + "=" + std::to_string(majorVersion) + "\n" + PlatformTypeName + "="
                             + toUtf8(platformType) + "\n";
    const std::filesystem::path target = file();
    const AtomicWriteResult written = writeFileAtomically(target, text);
    if (!written && error)
        *error = written.message(target);
    return written.succeeded();
}

std::uint32_t osMajorVersion() { return DeviceIdentity::read().majorVersion; }

bool getPlatformType(WChar* buffer, std::size_t size)
{
    const WideString text = DeviceIdentity::read().platformType;
    if (!buffer || size < text.size() + 1) {
        setLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = u'\0';
    return true;
}

} // namespace device
