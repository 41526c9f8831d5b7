// What the device says it is: the defaults of a new device, the values written for it, and what a
// damaged identity file gives.

#include "TempDevice.h"

#include "platform/device/DeviceIdentity.h"
#include "platform/device/LastError.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using device::DeviceIdentity;

TEST(DeviceIdentityTest, ANewDeviceIsAPocketPCOfVersionThree)
{
    testing_support::TempDevice device;
    EXPECT_EQ(device::osMajorVersion(), 3u);
    char16_t buffer[260];
    ASSERT_TRUE(device::getPlatformType(buffer, 260));
    EXPECT_EQ(std::u16string(buffer), u"PocketPC");
}

TEST(DeviceIdentityTest, AWrittenIdentityIsWhatTheDeviceAnswers)
{
    testing_support::TempDevice device;
    DeviceIdentity identity;
    identity.majorVersion = 4;
    identity.platformType = u"Smartphone";
    std::string error;
    ASSERT_TRUE(identity.write(&error)) << error;
    EXPECT_EQ(device::osMajorVersion(), 4u);
    EXPECT_EQ(DeviceIdentity::read().platformType, u"Smartphone");

    // The text and its terminator must fit the caller's buffer; a short one is left alone.
    char16_t small[10] = u"untouched";
    EXPECT_FALSE(device::getPlatformType(small, 10));
    EXPECT_EQ(device::lastError(), device::ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::u16string(small), u"untouched");
    char16_t exact[11];
    EXPECT_TRUE(device::getPlatformType(exact, 11));
    EXPECT_EQ(std::u16string(exact), u"Smartphone");
}

TEST(DeviceIdentityTest, ValuesTheDeviceCannotHoldAreRefusedAndUnreadableOnesGiveTheDefaults)
{
    testing_support::TempDevice device;
    std::string error;
    DeviceIdentity identity;
    identity.majorVersion = 0;
    EXPECT_FALSE(identity.write(&error));
    EXPECT_EQ(error, "the major version must be a whole number from 1 to 99");
    identity.majorVersion = 3;
    identity.platformType = u"";
    EXPECT_FALSE(identity.write(&error));
    identity.platformType = std::u16string(260, u'x');
    EXPECT_FALSE(identity.write(&error));
    EXPECT_EQ(error, "the platform type must be 1 to 259 characters");
    identity.platformType = u"Pocket\nPC";
    EXPECT_FALSE(identity.write(&error));
    EXPECT_FALSE(std::filesystem::exists(DeviceIdentity::file())) << "nothing was written";

    std::ofstream(DeviceIdentity::file()) << "OsMajorVersion=many\nPlatformType=\nColour=blue\nno line\n";
    EXPECT_EQ(DeviceIdentity::read().majorVersion, 3u);
    EXPECT_EQ(DeviceIdentity::read().platformType, u"PocketPC");
    std::ofstream(DeviceIdentity::file()) << "# set by hand\r\nPlatformType=Jupiter\r\nOsMajorVersion=5\r\n";
    EXPECT_EQ(DeviceIdentity::read().majorVersion, 5u);
    EXPECT_EQ(DeviceIdentity::read().platformType, u"Jupiter");
}

} // namespace
