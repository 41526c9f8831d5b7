#include "IdentityCommand.h"

#include "platform/device/DeviceIdentity.h"

#include <charconv>
#include <cstdio>
#include <optional>

const char* identityCommandUsage()
{
    return "usage: tavrel-device identity [--major N] [--platform TEXT]\n"
           "Shows what the device answers when a program asks for the operating system's major version\n"
           "and the platform type; with options, sets them first (a new device answers 3 and PocketPC).\n"
           "The setup library places the Pocket PC 2002 Today plug-in on major version 3 with PocketPC.\n";
}

int runIdentityCommand(const std::vector<std::string>& args)
{
    std::optional<std::uint32_t> major;
    std::optional<device::WideString> platform;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg != "--major" && arg != "--platform") {
            std::fprintf(stderr,
                         "tavrel-device: unknown argument '%s' (usage: identity [--major N] [--platform TEXT])\n",
                         arg.c_str());
            return 2;
        }
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "tavrel-device: %s needs a value\n", arg.c_str());
            return 2;
        }
        const std::string& value = args[++i];
        std::string why;
        if (arg == "--major") {
            std::uint32_t number = 0;
            const char* end = value.data() + value.size();
            const auto [stop, result] = std::from_chars(value.data(), end, number);
            why = result != std::errc() || stop != end || value.empty()
                      ? "the major version must be a whole number from 1 to "
                            + std::to_string(device::DeviceIdentity::MaximumMajorVersion)
                      : device::DeviceIdentity::checkMajorVersion(number);
            major = number;
        } else {
            platform = device::fromUtf8(value);
            why = device::DeviceIdentity::checkPlatformType(*platform);
        }
        if (!why.empty()) {
            std::fprintf(stderr, "tavrel-device: %s\n", why.c_str());
            return 2;
        }
    }

    device::DeviceIdentity identity = device::DeviceIdentity::read();
    if (major || platform) {
        if (major)
            identity.majorVersion = *major;
        if (platform)
            identity.platformType = *platform;
        std::string error;
        if (!identity.write(&error)) {
            std::fprintf(stderr, "tavrel-device: %s\n", error.c_str());
            return 1;
        }
    }
    std::printf("OS major version: %u\nplatform type: %s\n", unsigned(identity.majorVersion),
                device::toUtf8(identity.platformType).c_str());
    return 0;
}
