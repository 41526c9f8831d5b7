// The small programs' copy of CQoRegistry: null value names are refused by the text and number
// writers, and text reads take whatever is stored as text.

#include "common/QoRegistry.h"

#include "TempDevice.h"

#include <gtest/gtest.h>

using testing_support::TempDevice;

namespace {

bool defaultValueExists(HKEY key)
{
    return registry::queryValue(key, u"", nullptr, nullptr, nullptr) == registry::ERROR_SUCCESS;
}

} // namespace

TEST(QoRegistryLite, NullValueNamesAreRefusedAtOnce)
{
    TempDevice device;
    CQoRegistry key(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Reminder", true);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_FALSE(key.SetDWORD(nullptr, 1));
    EXPECT_FALSE(key.SetString(nullptr, u"text"));
    EXPECT_EQ(key.GetString(nullptr, u"default"), u"");
    // GetDWORD still reads the default value; its write-back goes through the refusing SetDWORD.
    EXPECT_EQ(key.GetDWORD(nullptr, 4), 4u);
    EXPECT_FALSE(defaultValueExists(key.GetKey()));

    // The empty name is a name: the default value is written through it.
    EXPECT_TRUE(key.SetString(u"", u"text"));
    EXPECT_EQ(key.GetString(nullptr, u"other"), u"");
    EXPECT_EQ(key.GetString(u"", u"other"), u"text");
}

TEST(QoRegistryLite, TextReadsTakeAnyStoredTypeAsText)
{
    TempDevice device;
    CQoRegistry key(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\QoLog", true);
    ASSERT_TRUE(key.SetBinary(u"Raw", u"Hi", 6));
    EXPECT_EQ(key.GetString(u"Raw", u"default"), u"Hi");
    ASSERT_TRUE(key.SetDWORD(u"Tavrel", 0x31)); // bytes 31 00 00 00: the text "1"
    EXPECT_EQ(key.GetString(u"Tavrel", u"default"), u"1");
    std::uint32_t type = 0;
    ASSERT_EQ(registry::queryValue(key.GetKey(), u"Tavrel", &type, nullptr, nullptr), registry::ERROR_SUCCESS);
    EXPECT_EQ(type, registry::REG_DWORD); // read, not rewritten

    // Missing values behave as in the calendar's copy.
    EXPECT_EQ(key.GetString(u"Missing", nullptr), u"");
    EXPECT_FALSE(key.ValueExists(u"Missing"));
    EXPECT_EQ(key.GetString(u"Missing", u"5"), u"5");
    EXPECT_TRUE(key.ValueExists(u"Missing"));
}
