#pragma once
// What the device says it is, when a program asks: the operating system's major version (the
// handheld's GetVersionEx) and the platform type text (SystemParametersInfo with
// SPI_GETPLATFORMTYPE). A Pocket PC of the kind Tavrel was first made for answers 3 and
// "PocketPC"; a device folder may be set to answer otherwise (`tavrel-device identity`), so the
// programs' choices by platform can be tried on one host.
//
// Kept in the device folder's host file ROOT/identity.txt, UTF-8 lines "OsMajorVersion=N" and
// "PlatformType=TEXT" (lines starting with "#" are comments). A missing file, line or readable
// value gives the default; the file is replaced whole when written.

#include "platform/device/WideText.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace device {

class DeviceIdentity {
public:
    static constexpr std::uint32_t DefaultMajorVersion = 3;
    static constexpr const char16_t* DefaultPlatformType = u"PocketPC";
    static constexpr std::uint32_t MaximumMajorVersion = 99;
    // The handheld's callers read the text into 260 characters, its terminator included.
    static constexpr std::size_t MaximumPlatformTypeLength = 259;

    std::uint32_t majorVersion = DefaultMajorVersion;
    WideString platformType = DefaultPlatformType;

    // ROOT/identity.txt of the selected device.
    static std::filesystem::path file();
    // The identity the selected device answers with.
    static DeviceIdentity read();
    // Makes this the selected device's identity. False, with a reason, for a value the device
    // cannot hold (see the checks) or a file that cannot be written.
    [[nodiscard]] bool write(std::string* error = nullptr) const;

    // Why a value cannot be the device's, or empty when it can: a major version from 1 to
    // MaximumMajorVersion; a type text of 1 to MaximumPlatformTypeLength characters without
    // control characters.
    static std::string checkMajorVersion(std::uint32_t version);
    static std::string checkPlatformType(WideView text);
};

// The handheld's queries. The major version of the device's operating system:
std::uint32_t osMajorVersion();
// The platform type text with its terminator, copied into `buffer` of `size` characters. False,
// with ERROR_INSUFFICIENT_BUFFER as the last error, when it does not fit; `buffer` is then untouched.
[[nodiscard]] bool getPlatformType(WChar* buffer, std::size_t size);

} // namespace device
