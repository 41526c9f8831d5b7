// Replacing files as a whole: the target holds the old or the new bytes, and no temporary survives
// a failure at any step.

#include "TempDevice.h"

#include "platform/device/AtomicFileWrite.h"
#include "platform/device/ProgramTable.h"
#include "platform/device/StandardFiles.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>
#include <vector>

using namespace device;
using testing_support::TempDevice;
namespace fs = std::filesystem;

namespace {

std::string readHost(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> namesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Makes every write past `bytes` of a file fail with EFBIG for the life of the object: a full disk
// that even the superuser meets.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = nullptr;
};

class AtomicFileWrite : public ::testing::Test {
protected:
    AtomicFileWrite() { fs::create_directories(folder); }

    TempDevice device;
    fs::path folder = device.root() / "scratch";
    fs::path target = folder / "table.txt";
};

} // namespace

TEST_F(AtomicFileWrite, WritesANewFileAndReplacesAnOldOneLeavingNothingElse)
{
    ASSERT_TRUE(writeFileAtomically(target, "first\n"));
    EXPECT_EQ(readHost(target), "first\n");
    ASSERT_TRUE(writeFileAtomically(target, std::string(100'000, 'x')));
    EXPECT_EQ(readHost(target), std::string(100'000, 'x'));
    ASSERT_TRUE(writeFileAtomically(target, ""));
    EXPECT_EQ(readHost(target), "");
    EXPECT_EQ(namesIn(folder), std::vector<std::string> {"table.txt"});
}

TEST_F(AtomicFileWrite, AFailedWriteKeepsTheOldFileAndRemovesItsTemporary)
{
    ASSERT_TRUE(writeFileAtomically(target, "old rules\n"));
    AtomicWriteResult result;
    {
        FileSizeLimit limit(4096);
        result = writeFileAtomically(target, std::string(64 * 1024, 'n'));
    }
    EXPECT_FALSE(result);
    EXPECT_EQ(result.failure, AtomicWriteResult::Failure::Write);
    EXPECT_EQ(result.reason, std::errc::file_too_large);
    EXPECT_EQ(result.message(target), "cannot write " + target.string() + ": " + result.reason.message());
    EXPECT_EQ(readHost(target), "old rules\n");
    EXPECT_EQ(namesIn(folder), std::vector<std::string> {"table.txt"});
}

TEST_F(AtomicFileWrite, EachStepThatFailsSaysSoAndLeavesNoTemporary)
{
    const AtomicWriteResult noFolder = writeFileAtomically(folder / "missing" / "x.png", "bytes");
    EXPECT_EQ(noFolder.failure, AtomicWriteResult::Failure::CreateTemporary);
    EXPECT_EQ(noFolder.reason, std::errc::no_such_file_or_directory);
    EXPECT_NE(noFolder.message(folder / "missing" / "x.png").find("creating a temporary file"), std::string::npos);

    // A folder that holds something cannot be replaced by a file: the rename fails, the folder
    // and what it holds stay.
    fs::create_directories(target / "inside");
    const AtomicWriteResult overFolder = writeFileAtomically(target, "bytes");
    EXPECT_EQ(overFolder.failure, AtomicWriteResult::Failure::Rename);
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(namesIn(folder), std::vector<std::string> {"table.txt"});

    EXPECT_TRUE(AtomicWriteResult {}.message(target).empty());
}

TEST_F(AtomicFileWrite, WritersOfTheSameFileNeverMixTheirBytes)
{
    // Each thread writes a whole file of its own letter; a reader may only ever see one letter.
    constexpr int writers = 6;
    std::vector<std::thread> threads;
    std::atomic<int> failures {0};
    for (int i = 0; i < writers; ++i)
        threads.emplace_back([&, i] {
            for (int round = 0; round < 20; ++round)
                if (!writeFileAtomically(target, std::string(20'000, char('a' + i))))
                    ++failures;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
    const std::string result = readHost(target);
    ASSERT_EQ(result.size(), 20'000u);
    EXPECT_EQ(result, std::string(20'000, result[0]));
    EXPECT_EQ(namesIn(folder), std::vector<std::string> {"table.txt"});
}

TEST_F(AtomicFileWrite, TheAlarmSoundThatCannotBeWrittenLeavesNoHalfFileBehind)
{
    const fs::path root = folder / "fs";
    fs::create_directories(root / "Windows");
    std::string error;
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(writeStandardFiles(root, &error));
    }
    EXPECT_NE(error.find("Alarm2.wav"), std::string::npos) << error;
    EXPECT_TRUE(namesIn(root / "Windows").empty()) << "neither a half sound nor its temporary";
    // The next start writes it.
    EXPECT_TRUE(writeStandardFiles(root, &error));
    EXPECT_EQ(readHost(root / "Windows" / "Alarm2.wav").substr(0, 4), "RIFF");
}

TEST_F(AtomicFileWrite, AProgramTableThatCannotBeReplacedSaysWhyAndStaysAsItWas)
{
    ASSERT_TRUE(ProgramTable::set(u"\\Program Files\\Tavrel\\Tavrel.exe", "/opt/tavrel/bin/tavrel"));
    const std::string before = readHost(ProgramTable::file());
    {
        FileSizeLimit limit(16);
        std::string error;
        EXPECT_FALSE(ProgramTable::set(u"\\Windows\\Varnow.EXE", "/opt/varnow/bin/varnow", &error));
        EXPECT_EQ(error, "cannot write " + ProgramTable::file().string() + ": File too large");
    }
    EXPECT_EQ(readHost(ProgramTable::file()), before);
    for (const std::string& name : namesIn(device.root()))
        EXPECT_EQ(name.find("programs.txt."), std::string::npos) << name;
}
