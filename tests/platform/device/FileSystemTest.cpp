#include "TempDevice.h"

#include "platform/device/DeviceFolder.h"
#include "platform/device/DevicePath.h"
#include "platform/device/File.h"
#include "platform/device/FileSystem.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace device;
using testing_support::TempDevice;

namespace {

std::string readHost(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writeText(WideView path, const std::string& text) { return FileSystem::writeAll(path, text.data(), text.size()); }

std::string readText(WideView path)
{
    auto bytes = FileSystem::readAll(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
}

} // namespace

TEST(DeviceFolder, FirstUseCreatesTheStandardFoldersAndAlarmSound)
{
    TempDevice device;
    for (const char* folder : {"My Documents", "Program Files", "Windows", "Windows/Start Menu/Programs", "TEMP"})
        EXPECT_TRUE(std::filesystem::is_directory(device.host(folder))) << folder;
    std::string wav = readHost(device.host("Windows/Alarm2.wav"));
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 4), "WAVE");
}

TEST(DeviceFolder, ResolvePrefersTheCommandLineThenTheEnvironment)
{
    ::setenv("TAVREL_DEVICE", "/tmp/from-env", 1);
    EXPECT_EQ(DeviceFolder::resolve(std::string("/tmp/explicit")), "/tmp/explicit");
    EXPECT_EQ(DeviceFolder::resolve(std::nullopt), "/tmp/from-env");
    ::unsetenv("TAVREL_DEVICE");
    ::setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(DeviceFolder::resolve(std::nullopt), "/tmp/xdg/tavrel/device");
}

TEST(DeviceFolder, AnEmptyNameIsAnErrorNotTheDefaultDevice)
{
    ::setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
    std::string error;
    EXPECT_EQ(DeviceFolder::resolve(std::string(), &error), std::nullopt);
    EXPECT_NE(error.find("--device"), std::string::npos) << error;
    ::setenv("TAVREL_DEVICE", "", 1);
    error.clear();
    EXPECT_EQ(DeviceFolder::resolve(std::nullopt, &error), std::nullopt);
    EXPECT_NE(error.find("TAVREL_DEVICE"), std::string::npos) << error;
    EXPECT_EQ(DeviceFolder::resolve(std::string("/tmp/explicit")), "/tmp/explicit") << "--device still wins";
    ::unsetenv("TAVREL_DEVICE");
}

TEST(DevicePath, LookupsIgnoreCaseAndNewNamesKeepTheirCase)
{
    TempDevice device;
    ASSERT_TRUE(writeText(u"\\My Documents\\Tavrel.Rules", "rules"));
    EXPECT_EQ(readText(u"\\MY DOCUMENTS\\tavrel.rules"), "rules");
    EXPECT_EQ(readText(u"/my documents/TAVREL.RULES"), "rules");
    EXPECT_TRUE(std::filesystem::exists(device.host("My Documents/Tavrel.Rules")));

    ASSERT_TRUE(FileSystem::createDirectory(u"\\my documents\\NewFolder"));
    EXPECT_TRUE(std::filesystem::is_directory(device.host("My Documents/NewFolder")));
    EXPECT_FALSE(FileSystem::createDirectory(u"\\My Documents\\newfolder")) << "exists, ignoring case";
}

TEST(DevicePath, NoPathLeavesTheDevice)
{
    TempDevice device;
    std::filesystem::create_directories(device.root() / "outside");
    for (const char16_t* path : {u"\\..\\registry.db", u"\\My Documents\\..\\..\\x", u"C:\\Windows", u"\\a\x01b",
                                 u"..", u"\\TEMP\\..\\..\\outside"}) {
        EXPECT_FALSE(DevicePath::toHost(path)) << toUtf8(path);
        EXPECT_FALSE(FileSystem::writeAll(path, "x", 1)) << toUtf8(path);
    }
    // A symbolic link planted inside fs/ is not followed out of it.
    std::filesystem::create_directory_symlink(device.root() / "outside", device.host("link"));
    EXPECT_FALSE(FileSystem::writeAll(u"\\link\\escape.txt", "x", 1));
    EXPECT_FALSE(std::filesystem::exists(device.root() / "outside" / "escape.txt"));
}

TEST(DevicePath, TextHelpers)
{
    EXPECT_EQ(DevicePath::parent(u"\\A\\b.txt"), u"\\A");
    EXPECT_EQ(DevicePath::parent(u"\\b.txt"), u"\\");
    EXPECT_EQ(DevicePath::fileName(u"\\A\\b.txt"), u"b.txt");
    EXPECT_EQ(DevicePath::join(u"\\A", u"b"), u"\\A\\b");
    EXPECT_EQ(DevicePath::join(u"\\", u"\\b"), u"\\b");
    EXPECT_EQ(DevicePath::normalise(u"\\A\\.\\\\b\\"), u"\\A\\b");
    EXPECT_TRUE(DevicePath::matchesPattern(u"Cake.GIF", u"*.gif"));
    EXPECT_TRUE(DevicePath::matchesPattern(u"noext", u"*.*"));
    EXPECT_TRUE(DevicePath::matchesPattern(u"abc", u"a?c"));
    EXPECT_FALSE(DevicePath::matchesPattern(u"abcd", u"a?c"));
    EXPECT_TRUE(DevicePath::matchesPattern(u"a.b.c", u"*.c"));
    EXPECT_FALSE(DevicePath::matchesPattern(u"Cake.jpg", u"*.gif"));
}

TEST(File, CreateNewIsExclusiveAndOpenExistingNeedsTheFile)
{
    TempDevice device;
    File file;
    EXPECT_FALSE(file.open(u"\\TEMP\\a.txt", File::Read, File::Disposition::OpenExisting));
    ASSERT_TRUE(file.open(u"\\TEMP\\a.txt", File::ReadWrite, File::Disposition::CreateNew));
    EXPECT_EQ(file.write("hello", 5), 5u);
    EXPECT_EQ(file.size(), 5);
    ASSERT_TRUE(file.seek(1, File::Origin::Begin));
    char buffer[8] = {};
    EXPECT_EQ(file.read(buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "ello");
    file.close();
    File second;
    EXPECT_FALSE(second.open(u"\\temp\\A.TXT", File::Write, File::Disposition::CreateNew));
    EXPECT_TRUE(second.open(u"\\temp\\A.TXT", File::Write, File::Disposition::OpenAlways));
    EXPECT_FALSE(File().open(u"\\TEMP", File::Read, File::Disposition::OpenExisting)) << "a folder is no file";
}

TEST(File, AFifoOrOtherNonRegularFileIsRefusedWithoutBlocking)
{
    TempDevice device;
    const std::filesystem::path fifo = device.host("My Documents/Tavrel.Rules");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // Each attempt runs aside with a deadline: an open that blocks is unblocked by opening the
    // FIFO's other end, so the test fails instead of hanging.
    auto refusedAtOnce = [&](std::function<bool()> attempt) {
        std::future<bool> done = std::async(std::launch::async, std::move(attempt));
        if (done.wait_for(std::chrono::seconds(3)) == std::future_status::ready)
            return !done.get();
        const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        done.wait();
        if (writer >= 0)
            ::close(writer);
        ADD_FAILURE() << "blocked on the FIFO";
        return false;
    };
    EXPECT_TRUE(refusedAtOnce([] { return File().open(u"\\My Documents\\Tavrel.Rules", File::Read, File::Disposition::OpenExisting); }));
    EXPECT_TRUE(refusedAtOnce([] { return File().open(u"\\My Documents\\Tavrel.Rules", File::Write, File::Disposition::OpenAlways); }));
    EXPECT_TRUE(refusedAtOnce([] { return FileSystem::readAll(u"\\My Documents\\Tavrel.Rules").has_value(); }));
    EXPECT_TRUE(refusedAtOnce([] { return FileSystem::copy(u"\\My Documents\\Tavrel.Rules", u"\\TEMP\\copy", false); }));
    EXPECT_FALSE(FileSystem::exists(u"\\TEMP\\copy"));
    // A reader on the other end does not make it a file either.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(refusedAtOnce([] { return File().open(u"\\My Documents\\Tavrel.Rules", File::Write, File::Disposition::CreateAlways); }));
    ::close(reader);
}

TEST(FileSystem, MoveNeverReplacesAndCopyReplacesOnlyWhenAsked)
{
    TempDevice device;
    ASSERT_TRUE(writeText(u"\\a.txt", "A"));
    ASSERT_TRUE(writeText(u"\\b.txt", "B"));
    EXPECT_FALSE(FileSystem::move(u"\\a.txt", u"\\B.TXT"));
    EXPECT_EQ(readText(u"\\b.txt"), "B");
    EXPECT_EQ(readText(u"\\a.txt"), "A");

    EXPECT_FALSE(FileSystem::copy(u"\\a.txt", u"\\b.txt", true));
    EXPECT_EQ(readText(u"\\b.txt"), "B");
    EXPECT_TRUE(FileSystem::copy(u"\\a.txt", u"\\b.txt", false));
    EXPECT_EQ(readText(u"\\b.txt"), "A");
    EXPECT_TRUE(FileSystem::copy(u"\\a.txt", u"\\c.txt", true));
    EXPECT_EQ(readText(u"\\c.txt"), "A");
    EXPECT_FALSE(FileSystem::copy(u"\\missing.txt", u"\\d.txt", false));
    EXPECT_FALSE(FileSystem::exists(u"\\d.txt"));

    EXPECT_TRUE(FileSystem::move(u"\\a.txt", u"\\TEMP\\moved.txt"));
    EXPECT_FALSE(FileSystem::exists(u"\\a.txt"));
    EXPECT_EQ(readText(u"\\temp\\moved.txt"), "A");
    EXPECT_TRUE(FileSystem::removeFile(u"\\TEMP\\moved.txt"));
    EXPECT_FALSE(FileSystem::removeFile(u"\\TEMP\\moved.txt"));
    EXPECT_FALSE(FileSystem::removeFile(u"\\TEMP")) << "removeFile leaves folders alone";
}

TEST(FileSystem, FoldersListSortedByNameAndFilteredByPattern)
{
    TempDevice device;
    ASSERT_TRUE(FileSystem::createDirectories(u"\\My Documents\\Skins\\Winter"));
    EXPECT_TRUE(FileSystem::createDirectories(u"\\My Documents\\Skins\\Winter")) << "existing levels are fine";
    ASSERT_TRUE(writeText(u"\\My Documents\\Skins\\b.gif", "12"));
    ASSERT_TRUE(writeText(u"\\My Documents\\Skins\\A.GIF", "1"));
    ASSERT_TRUE(writeText(u"\\My Documents\\Skins\\c.jpg", ""));
    auto all = FileSystem::list(u"\\my documents\\skins");
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 4u);
    EXPECT_EQ((*all)[0].name, u"A.GIF");
    EXPECT_EQ((*all)[1].name, u"b.gif");
    EXPECT_EQ((*all)[1].info.size, 2u);
    EXPECT_EQ((*all)[3].name, u"Winter");
    EXPECT_TRUE((*all)[3].info.directory);
    auto gifs = FileSystem::list(u"\\My Documents\\Skins", u"*.gif");
    ASSERT_TRUE(gifs);
    EXPECT_EQ(gifs->size(), 2u);
    EXPECT_FALSE(FileSystem::list(u"\\No Such Folder"));
    EXPECT_FALSE(FileSystem::removeDirectory(u"\\My Documents\\Skins")) << "not empty";
    EXPECT_TRUE(FileSystem::removeDirectory(u"\\My Documents\\Skins\\Winter"));
}

TEST(FileSystem, AttributesAndLastWriteTime)
{
    TempDevice device;
    ASSERT_TRUE(writeText(u"\\x.txt", "abc"));
    auto when = std::chrono::system_clock::time_point(std::chrono::seconds(1'800'000'000));
    ASSERT_TRUE(FileSystem::setLastWrite(u"\\X.TXT", when));
    auto info = FileSystem::info(u"\\x.txt");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->size, 3u);
    EXPECT_FALSE(info->directory);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(info->lastWrite.time_since_epoch()).count(),
              1'800'000'000);
    ASSERT_TRUE(FileSystem::setReadOnly(u"\\x.txt", true));
    EXPECT_TRUE(FileSystem::info(u"\\x.txt")->readOnly);
    EXPECT_TRUE(FileSystem::isDirectory(u"\\Windows"));
    EXPECT_FALSE(FileSystem::isFile(u"\\Windows"));
}
