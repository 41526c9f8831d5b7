#include "remote/CachedFile.h"
#include "remote/TavrelCachePath.h"

#include "RemoteTestSupport.h"

#include "LoopbackServer.h"
#include "PinnedClock.h"
#include "TempDevice.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/DevicePath.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using remote_test::readFile;
using remote_test::utf8;
using remote_test::writeFile;
using testing_support::LoopbackServer;

class CachedFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_served = m_device.root() / "served";
        std::filesystem::create_directories(m_served);
    }

    LoopbackServer& http()
    {
        if (!m_http)
            m_http = std::make_unique<LoopbackServer>(LoopbackServer::Kind::Http, m_served);
        return *m_http;
    }

    // The host file of a device path.
    std::filesystem::path host(const CQoString& devicePath) const
    {
        return *device::DevicePath::toHost(devicePath.View());
    }

    std::string hostAndPort() const { return "127.0.0.1%3A" + std::to_string(m_http->port()); }

    testing_support::TempDevice m_device;
    testing_support::PinnedClock m_clock{testing_support::localTime(2026, 6, 1, 12, 0, 0)};
    remote_test::RecordingHost m_host;
    std::filesystem::path m_served;
    std::unique_ptr<LoopbackServer> m_http;
};

TEST_F(CachedFileTest, FetchesIntoTheCacheBelowHostAndPath)
{
    writeFile(m_served / "cals" / "Tavrel.xml", "<Tavrel>first</Tavrel>");
    const std::string address = http().url("cals/Tavrel.xml");

    CCachedFile file(CQoString(device::fromUtf8(address).c_str()));
    EXPECT_EQ(utf8(file.GetLocalFile()), "\\TEMP\\Cached\\" + hostAndPort() + "\\cals\\Tavrel.xml");
    EXPECT_EQ(utf8(file.GetSource()), address.substr(5)); // without "http:"
    EXPECT_EQ(readFile(host(file.GetLocalFile())), "<Tavrel>first</Tavrel>");
    EXPECT_EQ(m_host.urls, std::vector<std::string>{address});
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(CachedFileTest, FtpAddressesAreCachedUnderHostAndPathToo)
{
    writeFile(m_served / "pub" / "Concerts.xml", "<Tavrel>ftp</Tavrel>");
    LoopbackServer ftp(LoopbackServer::Kind::Ftp, m_served);
    // The scheme is matched whatever its case.
    const std::string address = "FtP://127.0.0.1:" + std::to_string(ftp.port()) + "/pub/Concerts.xml";

    CCachedFile file;
    ASSERT_TRUE(file.Resolve(device::fromUtf8(address).c_str()));
    EXPECT_EQ(utf8(file.GetLocalFile()),
              "\\TEMP\\Cached\\127.0.0.1%3A" + std::to_string(ftp.port()) + "\\pub\\Concerts.xml");
    EXPECT_EQ(readFile(host(file.GetLocalFile())), "<Tavrel>ftp</Tavrel>");
}

TEST_F(CachedFileTest, CopyIsUsedUntilItIsOlderThanTheMaximumAge)
{
    writeFile(m_served / "Sports.xml", "version 1");
    const CQoString address(device::fromUtf8(http().url("Sports.xml")).c_str());
    CCachedFile file;
    ASSERT_TRUE(file.Resolve(address));
    writeFile(m_served / "Sports.xml", "version 2");

    device::DeviceClock::advanceForTesting(29 * 24h);
    ASSERT_TRUE(file.Resolve(address));
    EXPECT_EQ(readFile(host(file.GetLocalFile())), "version 1");
    EXPECT_EQ(m_host.urls.size(), 1u);

    device::DeviceClock::advanceForTesting(2 * 24h);
    ASSERT_TRUE(file.Resolve(address));
    EXPECT_EQ(readFile(host(file.GetLocalFile())), "version 2");
    EXPECT_EQ(m_host.urls.size(), 2u);

    // Host directory documents are fetched every time, however young the copy.
    ASSERT_TRUE(file.Resolve(address, 0s));
    EXPECT_EQ(m_host.urls.size(), 3u);
    ASSERT_TRUE(file.Resolve(address, 3600s));
    EXPECT_EQ(m_host.urls.size(), 3u);
}

TEST_F(CachedFileTest, DeviceFilesAreUsedAsTheyAre)
{
    for (const char16_t* path : {u"\\My Documents\\Sports.xml", u"C:\\Calendars\\Sports.xml", u"Sports.xml"}) {
        CCachedFile file;
        EXPECT_TRUE(file.Resolve(path));
        EXPECT_EQ(file.GetLocalFile().View(), device::WideView(path));
        EXPECT_EQ(file.GetSource().View(), device::WideView(path));
    }
    CCachedFile scheme;
    EXPECT_TRUE(scheme.Resolve(u"FILE:\\My Documents\\Sports.xml"));
    EXPECT_EQ(utf8(scheme.GetLocalFile()), "\\My Documents\\Sports.xml");
    EXPECT_TRUE(m_host.urls.empty());
}

TEST_F(CachedFileTest, FailedFetchKeepsTheCopyFromBefore)
{
    writeFile(m_served / "Sports.xml", "the good copy");
    const CQoString address(device::fromUtf8(http().url("Sports.xml")).c_str());
    CCachedFile file;
    ASSERT_TRUE(file.Resolve(address));
    std::filesystem::remove(m_served / "Sports.xml");

    EXPECT_FALSE(file.Resolve(address, 0s));
    EXPECT_EQ(readFile(host(file.GetLocalFile())), "the good copy");
    for (const auto& entry : std::filesystem::directory_iterator(host(file.GetLocalFile()).parent_path()))
        EXPECT_EQ(entry.path().filename(), "Sports.xml");

    // Nothing stands for an address that never arrived.
    CCachedFile missing;
    EXPECT_FALSE(missing.Resolve(device::fromUtf8(http().url("_/die?size=5000&sent=100")).c_str()));
    EXPECT_FALSE(std::filesystem::exists(host(missing.GetLocalFile())));
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(CachedFileTest, OtherSchemesFetchNothing)
{
    CCachedFile file;
    EXPECT_TRUE(file.Resolve(u"gopher://127.0.0.1/1/Sports"));
    EXPECT_EQ(utf8(file.GetSource()), "//127.0.0.1/1/Sports");
    EXPECT_FALSE(std::filesystem::exists(host(file.GetLocalFile())));
    EXPECT_TRUE(m_host.urls.empty());
}

TEST_F(CachedFileTest, FolderThatCannotBeMadeIsReported)
{
    http();
    // A file stands where the host's folder of the cache would go.
    writeFile(m_device.host("TEMP/Cached/" + hostAndPort()), "in the way");
    CCachedFile file;
    EXPECT_FALSE(file.Resolve(device::fromUtf8(http().url("Sports.xml")).c_str()));
    EXPECT_EQ(m_host.messages, std::vector<std::string>{"Error creating directory for local copy of cached file"});
    EXPECT_TRUE(m_host.urls.empty());
}

TEST_F(CachedFileTest, CreateDirectoriesMakesEveryMissingLevel)
{
    EXPECT_TRUE(CCachedFile::CreateDirectories(u"\\TEMP\\One\\Two\\Three"));
    EXPECT_TRUE(std::filesystem::is_directory(m_device.host("TEMP/One/Two/Three")));
    EXPECT_TRUE(CCachedFile::CreateDirectories(u"\\TEMP\\One\\Two\\Three"));
    writeFile(m_device.host("TEMP/File"), "x");
    EXPECT_FALSE(CCachedFile::CreateDirectories(u"\\TEMP\\File\\Below"));
    EXPECT_FALSE(CCachedFile::CreateDirectories(u"\\TEMP\\..\\..\\Outside"));
}

// An address that climbs out of its folder is fetched (the server decides what it means) but
// lands below the cache; the device's own file of that name stays untouched.
TEST_F(CachedFileTest, ClimbingAddressStaysInTheCache)
{
    writeFile(m_served / "Windows" / "Alarm2.wav", "not a sound");
    const std::string before = readFile(m_device.host("Windows/Alarm2.wav"));
    CCachedFile file;
    EXPECT_TRUE(file.Resolve(device::fromUtf8(http().url("x/../../Windows/Alarm2.wav")).c_str()));
    EXPECT_EQ(utf8(file.GetLocalFile()), "\\TEMP\\Cached\\" + hostAndPort() + "\\x\\%2E%2E\\%2E%2E\\Windows\\Alarm2.wav");
    EXPECT_EQ(readFile(host(file.GetLocalFile())), "not a sound");
    EXPECT_EQ(readFile(m_device.host("Windows/Alarm2.wav")), before);
}

} // namespace
