#include "TempDevice.h"

#include "platform/device/DocumentOpener.h"
#include "platform/device/FileSystem.h"
#include "platform/device/HelpViewer.h"
#include "platform/device/LastError.h"
#include "platform/device/ProcessStart.h"
#include "platform/device/ProgramTable.h"
#include "platform/device/RunningProgram.h"
#include "platform/device/ShellExecute.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

using namespace device;
using namespace std::chrono_literals;

namespace {

class ProgramStartTest : public ::testing::Test {
protected:
    ~ProgramStartTest() override
    {
        ShellExecute::setInterceptor({});
        DocumentOpener::setMode(DocumentOpener::Mode::Automatic);
        RunningProgram::setDevicePath(u"\\Windows\\unknown.exe");
    }

    // A host program that writes its arguments, one a line, to `out`.
    std::filesystem::path writeRecorder(const std::filesystem::path& out)
    {
        std::filesystem::path script = device.root() / "recorder.sh";
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << out.string()
                              << ".tmp'\nmv '" << out.string() << ".tmp' '" << out.string() << "'\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        return script;
    }

    static std::string waitForFile(const std::filesystem::path& path)
    {
        for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
            std::this_thread::sleep_for(10ms);
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    testing_support::TempDevice device;
};

TEST_F(ProgramStartTest, TheTableMapsDevicePathsIgnoringCaseAndSurvivesBadLines)
{
    EXPECT_TRUE(ProgramTable::read().empty());
    EXPECT_FALSE(ProgramTable::find(u"\\Program Files\\Tavrel\\Tavrel.exe"));

    ASSERT_TRUE(ProgramTable::set(u"\\Program Files\\Tavrel\\Tavrel.exe", "/opt/tavrel/bin/tavrel"));
    ASSERT_TRUE(ProgramTable::set(u"\\Program Files\\Tavrel\\TavrelReminder.Exe", "/opt/tavrel/bin/tavrel-reminder"));
    EXPECT_EQ(ProgramTable::find(u"\\program files\\TAVREL\\tavrel.EXE"), std::filesystem::path("/opt/tavrel/bin/tavrel"));
    ASSERT_TRUE(ProgramTable::set(u"\\PROGRAM FILES\\Tavrel\\Tavrel.exe", "/usr/bin/tavrel"));
    EXPECT_EQ(ProgramTable::read().size(), 2u) << "setting a path again replaces its entry";
    EXPECT_EQ(ProgramTable::find(u"\\Program Files\\Tavrel\\Tavrel.exe"), std::filesystem::path("/usr/bin/tavrel"));

    std::string error;
    EXPECT_FALSE(ProgramTable::set(u"\\A\\..\\..\\b.exe", "/usr/bin/b", &error)) << "no path may leave the device";
    EXPECT_FALSE(ProgramTable::set(u"\\b.exe", "relative/b", &error));
    EXPECT_FALSE(ProgramTable::set(u"\\b.exe", "/usr/bin/b\nc", &error));
    EXPECT_EQ(ProgramTable::read().size(), 2u) << "a refused entry leaves the table as it was";

    std::ofstream(ProgramTable::file(), std::ios::app) << "garbage without a tab\n\\c.exe\trelative\n\n";
    EXPECT_EQ(ProgramTable::read().size(), 2u);
    EXPECT_TRUE(ProgramTable::remove(u"\\program files\\tavrel\\tavrelreminder.exe"));
    EXPECT_EQ(ProgramTable::read().size(), 1u);
    EXPECT_TRUE(ProgramTable::remove(u"\\none.exe")) << "removing what is not there changes nothing";
}

TEST_F(ProgramStartTest, CommandLinesSplitAsTheHandheldsRuntimeSplitsThem)
{
    using Args = std::vector<std::string>;
    EXPECT_EQ(ProcessStart::splitCommandLine(u""), Args{});
    EXPECT_EQ(ProcessStart::splitCommandLine(u"  TavrelControl  "), Args{"TavrelControl"});
    EXPECT_EQ(ProcessStart::splitCommandLine(u"/openactivity=\"Call Ann\" \"\" x"),
              (Args{"/openactivity=Call Ann", "", "x"}));
    EXPECT_EQ(ProcessStart::splitCommandLine(u"\\My Documents\\a.txt"), (Args{"\\My", "Documents\\a.txt"}));
    EXPECT_EQ(ProcessStart::splitCommandLine(u"say \\\"hi\\\""), (Args{"say", "\"hi\""}));
}

TEST_F(ProgramStartTest, AStartedProgramRunsOnTheSameDeviceWithItsArguments)
{
    const std::filesystem::path out = device.root() / "arguments.txt";
    ASSERT_TRUE(ProgramTable::set(u"\\Program Files\\Tavrel\\TavrelReminder.Exe", writeRecorder(out)));
    std::string error;
    ASSERT_TRUE(ProcessStart::start(u"\\Program Files\\Tavrel\\TavrelReminder.Exe", u"/ifrunning \"/dismissactivity=A 1\"",
                                    &error))
        << error;
    EXPECT_EQ(waitForFile(out), "--device\n" + device.root().string() + "\n/ifrunning\n/dismissactivity=A 1\n");
}

TEST_F(ProgramStartTest, StartingWhatIsNotInstalledFailsWithFileNotFound)
{
    std::string error;
    EXPECT_FALSE(ProcessStart::start(u"\\Program Files\\Tavrel\\Tavrel.exe", u"", &error));
    EXPECT_EQ(lastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(error.find("Tavrel.exe"), std::string::npos);

    ASSERT_TRUE(ProgramTable::set(u"\\Program Files\\Tavrel\\Tavrel.exe", device.root() / "no-such-program"));
    EXPECT_FALSE(ProcessStart::start(u"\\Program Files\\Tavrel\\Tavrel.exe", u"", &error));
    EXPECT_EQ(lastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(ShellExecute::open(u"\\Program Files\\Tavrel\\Tavrel.exe", u"", &error));
}

TEST_F(ProgramStartTest, ShellExecuteLooksInTheWindowsFolderAndRunsItsPrograms)
{
    EXPECT_EQ(ShellExecute::resolve(u"PegHelp.exe"), u"\\Windows\\PegHelp.exe");
    EXPECT_EQ(ShellExecute::resolve(u"\\Program Files\\.\\Tavrel\\Tavrel.exe"), u"\\Program Files\\Tavrel\\Tavrel.exe");

    const std::filesystem::path out = device.root() / "arguments.txt";
    ASSERT_TRUE(ProgramTable::set(u"\\Windows\\Varnow.EXE", writeRecorder(out)));
    ASSERT_TRUE(ShellExecute::open(u"Varnow.exe", u"/openactivity=7"));
    EXPECT_EQ(waitForFile(out), "--device\n" + device.root().string() + "\n/openactivity=7\n");

    std::vector<ShellExecute::Request> seen;
    ShellExecute::setInterceptor([&](const ShellExecute::Request& request, bool* result) {
        seen.push_back(request);
        *result = false;
        return true;
    });
    EXPECT_FALSE(ShellExecute::open(u"PegHelp.exe", u"Tavrel.htm#Main_Contents"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].devicePath, u"\\Windows\\PegHelp.exe");
    EXPECT_EQ(seen[0].parameters, u"Tavrel.htm#Main_Contents");
}

TEST_F(ProgramStartTest, TheHelpViewerFindsThePageInWindowsOrTheProgramsFolder)
{
    RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
    EXPECT_FALSE(HelpViewer::findPage(u"Tavrel.htm#Main_Contents"));
    std::string error;
    EXPECT_FALSE(ShellExecute::open(u"PegHelp.exe", u"Tavrel.htm#Main_Contents", &error));
    EXPECT_EQ(lastError(), ERROR_FILE_NOT_FOUND);

    ASSERT_TRUE(FileSystem::createDirectories(u"\\Program Files\\Tavrel"));
    const std::string page = "<html><a name=\"Main_Contents\"></a></html>";
    ASSERT_TRUE(FileSystem::writeAll(u"\\Program Files\\Tavrel\\Tavrel.htm", page.data(), page.size()));
    EXPECT_EQ(HelpViewer::findPage(u"tavrel.htm#Main_Contents"), u"\\Program Files\\Tavrel\\tavrel.htm");
    ASSERT_TRUE(FileSystem::writeAll(u"\\Windows\\Tavrel.htm", page.data(), page.size()));
    EXPECT_EQ(HelpViewer::findPage(u"Tavrel.htm"), u"\\Windows\\Tavrel.htm") << "\\Windows comes first";
    EXPECT_FALSE(HelpViewer::findPage(u"#Main_Contents"));

    // Without a display nothing is started: the page is named on standard error.
    DocumentOpener::setMode(DocumentOpener::Mode::Report);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(ShellExecute::open(u"PegHelp.exe", u"Tavrel.htm#Main_Contents"));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "open-document: \\Windows\\Tavrel.htm#Main_Contents\n");
}

TEST_F(ProgramStartTest, DocumentUrlsAreEncoded)
{
    EXPECT_EQ(DocumentOpener::fileUrl("/home/a b/fs/Program Files/Tavrel.htm", u"Main_Contents"),
              "file:///home/a%20b/fs/Program%20Files/Tavrel.htm#Main_Contents");
    EXPECT_EQ(DocumentOpener::fileUrl("/x/#.htm", u"a b"), "file:///x/%23.htm#a%20b");
    EXPECT_EQ(DocumentOpener::reportLine(u"\\Windows\\x.htm", u""), "open-document: \\Windows\\x.htm");
}

} // namespace
