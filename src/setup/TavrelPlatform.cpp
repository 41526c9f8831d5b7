#include "setup/TavrelPlatform.h"

#include "platform/device/DeviceIdentity.h"

#include <array>

bool CTavrelPlatform::IsPocketPC()
{
    if (device::osMajorVersion() != PocketPCMajorVersion)
        return false;
    std::array<char16_t, TypeBufferLength> type {};
    return device::getPlatformType(type.data(), type.size()) && device::WideView(type.data()) == PocketPCType;
}
