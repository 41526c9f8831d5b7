#include "remote/TavrelCachePath.h"

#include "platform/device/DevicePath.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string cachePath(const char16_t* address)
{
    return device::toUtf8(CTavrelCachePath::ForAddress(address).View());
}

TEST(TavrelCachePathTest, HostAndPathBecomeFolders)
{
    EXPECT_EQ(cachePath(u"//www.tavrel.com/calendars/Sports.xml"), "\\TEMP\\Cached\\www.tavrel.com\\calendars\\Sports.xml");
    EXPECT_EQ(cachePath(u"//127.0.0.1:8080/Tavrel.xml"), "\\TEMP\\Cached\\127.0.0.1%3A8080\\Tavrel.xml");
    // The last "\" after the last "/": only the name after it.
    EXPECT_EQ(cachePath(u"//server/share\\cals\\Sports.xml"), "\\TEMP\\Cached\\Sports.xml");
    // Escapes of the address stay, so a file name still names its picture.
    EXPECT_EQ(cachePath(u"//host/Snow%20Day.gif"), "\\TEMP\\Cached\\host\\Snow%20Day.gif");
    // A folder address gets a file of its own inside the folder.
    EXPECT_EQ(cachePath(u"//host/cals/"), "\\TEMP\\Cached\\host\\cals\\%2F");
}

TEST(TavrelCachePathTest, NamesThatWouldLeaveOrBreakThePathAreMadeSafe)
{
    EXPECT_EQ(cachePath(u"//host/../../Windows/Alarm2.wav"), "\\TEMP\\Cached\\host\\%2E%2E\\%2E%2E\\Windows\\Alarm2.wav");
    EXPECT_EQ(cachePath(u"\\..\\..\\Windows"), "\\TEMP\\Cached\\Windows");
    EXPECT_EQ(cachePath(u"\\.."), "\\TEMP\\Cached\\%2E%2E");
    // Without "//" the address is no device path of its own: it stays below the cache.
    EXPECT_EQ(cachePath(u"/Windows/Alarm2.wav"), "\\TEMP\\Cached\\Windows\\Alarm2.wav");
    EXPECT_EQ(cachePath(u"Alarm2.wav"), "\\TEMP\\Cached\\Alarm2.wav");
    EXPECT_EQ(cachePath(u"//host/cal.php?id=1&a=<b>|*\"x\""), "\\TEMP\\Cached\\host\\cal.php%3Fid=1&a=%3Cb%3E%7C%2A%22x%22");
    EXPECT_EQ(cachePath(u"//host/name. /x\x01y"), "\\TEMP\\Cached\\host\\name.%20\\x%01y");
    EXPECT_EQ(device::toUtf8(CTavrelCachePath::SafeName(u"..\\..\\Windows")), "..%5C..%5CWindows");
    EXPECT_EQ(device::toUtf8(CTavrelCachePath::SafeName(u"")), "%20");
}

TEST(TavrelCachePathTest, LongNamesAndPathsAreShortenedApart)
{
    const std::u16string longName(300, u'a');
    const std::string one = cachePath((u"//host/" + longName).c_str());
    const std::string other = cachePath((u"//host/" + longName + u"b").c_str());
    EXPECT_NE(one, other);
    EXPECT_LE(device::toUtf8(CTavrelCachePath::SafeName(longName)).size(), CTavrelCachePath::MaxNameLength);

    std::u16string deep = u"//host";
    for (int i = 0; i < 40; ++i)
        deep += u"/folder" + std::u16string(1, char16_t(u'a' + i % 26)) + u"0123456789";
    const std::string folded = cachePath((deep + u"/Sports.xml").c_str());
    EXPECT_LE(folded.size(), CTavrelCachePath::MaxPathLength);
    EXPECT_TRUE(folded.starts_with("\\TEMP\\Cached\\host\\~"));
    EXPECT_TRUE(folded.ends_with("\\Sports.xml"));
    EXPECT_NE(folded, cachePath((deep + u"/x/Sports.xml").c_str()));
}

// Whatever an address holds, its cache path is a device path below the cache, of names the device
// takes, and no two of these addresses share one.
TEST(TavrelCachePathTest, EveryAddressLandsBelowTheCache)
{
    const std::u16string addresses[] = {
        u"//host/../../../..",
        u"//host/./a/./b",
        u"//../..",
        u"//host//a///b",
        u"\\\\server\\..",
        u"..\\..\\Windows",
        u"//host:80/a:b/c:",
        u"//host/\x7f\x1f.",
        u"//host/ \x09",
        u"//host/" + std::u16string(500, u'/') + u"x",
        u"//" + std::u16string(1000, u'h'),
        u"//host/" + std::u16string(200, u'\xD83D') + u"x",
        u"",
        u"//",
        u"/",
    };
    std::set<std::string> seen;
    for (const std::u16string& address : addresses) {
        const CQoString path = CTavrelCachePath::ForAddress(address);
        const std::string shown = device::toUtf8(path.View());
        SCOPED_TRACE(shown);
        EXPECT_TRUE(shown.starts_with("\\TEMP\\Cached\\"));
        EXPECT_LE(path.GetLength(), CTavrelCachePath::MaxPathLength);
        const auto names = device::DevicePath::split(path.View());
        ASSERT_TRUE(names.has_value());
        ASSERT_GE(names->size(), 3u);
        EXPECT_EQ(device::toUtf8((*names)[0]), "TEMP");
        EXPECT_EQ(device::toUtf8((*names)[1]), "Cached");
        for (const auto& name : *names) {
            EXPECT_LE(name.size(), CTavrelCachePath::MaxNameLength);
            EXPECT_NE(name, u"..");
            EXPECT_NE(name, u".");
        }
        seen.insert(shown);
    }
    EXPECT_EQ(seen.size(), std::size(addresses));
}

} // namespace
