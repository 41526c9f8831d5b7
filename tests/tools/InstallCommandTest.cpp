// tavrel-device install and uninstall, run as the real program on a throw-away device with a small
// package of its own.

#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/device/ProgramTable.h"
#include "platform/registry/ScopedKey.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace {

using namespace testing_support;
using namespace std::chrono_literals;

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::u16string> Text(registry::HKEY hive, const char16_t* key, const char16_t* name)
{
    registry::ScopedKey open;
    if (registry::ScopedKey::open(hive, key, open) != registry::ERROR_SUCCESS)
        return std::nullopt;
    char16_t buffer[512] = {};
    std::uint32_t size = sizeof buffer, type = 0;
    if (registry::queryValue(open.get(), name, &type, buffer, &size) != registry::ERROR_SUCCESS)
        return std::nullopt;
    return std::u16string(buffer);
}

std::optional<std::uint32_t> Number(registry::HKEY hive, const char16_t* key, const char16_t* name)
{
    registry::ScopedKey open;
    std::uint32_t value = 0, size = sizeof value, type = 0;
    if (registry::ScopedKey::open(hive, key, open) != registry::ERROR_SUCCESS
        || registry::queryValue(open.get(), name, &type, &value, &size) != registry::ERROR_SUCCESS || type != registry::REG_DWORD)
        return std::nullopt;
    return value;
}

class InstallCommandTest : public ::testing::Test {
protected:
    InstallCommandTest() : package(device.root() / "package")
    {
        Write("Program Files/Tavrel/Daybar.gif", "day bar");
        Write("Program Files/Tavrel/Icons/Cake.gif", "cake");
        Write("Program Files/Tavrel/Tavrel.htm", "<a name=\"Main_Contents\"></a>");
        Write("My Documents/CalendarSkinDefault/Default.TavrelSkin", "[Skin]\r\n");
    }

    void Write(const std::string& relative, const std::string& text)
    {
        std::filesystem::create_directories((package / relative).parent_path());
        std::ofstream(package / relative, std::ios::binary) << text;
    }

    ToolRun Install(std::vector<std::string> extra = {})
    {
        extra.insert(extra.begin(), "install");
        extra.push_back(package.string());
        return runDeviceTool(device.root(), extra);
    }

    static constexpr const char16_t* InstallKey = u"Software\\Apps\\Orvix Tavrel";
    TempDevice device;
    std::filesystem::path package;
};

TEST_F(InstallCommandTest, InstallCopiesThePackageAndRecordsTheProgramsTheFolderAndTheShortcut)
{
    ToolRun run = Install();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("installed Tavrel (4 files)"), std::string::npos) << run.out;
    EXPECT_EQ(ReadFile(device.host("Program Files/Tavrel/Icons/Cake.gif")), "cake");
    EXPECT_EQ(ReadFile(device.host("My Documents/CalendarSkinDefault/Default.TavrelSkin")), "[Skin]\r\n");
    EXPECT_EQ(ReadFile(device.host("Windows/Start Menu/Programs/Tavrel.lnk")), "34#\"\\Program Files\\Tavrel\\Tavrel.exe\"");
    EXPECT_EQ(ReadFile(device.host("Windows/Start Menu/Programs/QoLog Config.lnk")),
              "39#\"\\Program Files\\Tavrel\\QoLogConfig.exe\"");

    // The calendar runs as the tavrel built beside the tool.
    EXPECT_EQ(device::ProgramTable::find(u"\\Program Files\\Tavrel\\Tavrel.exe"),
              std::filesystem::absolute(programPath("tavrel")).lexically_normal());

    EXPECT_EQ(Text(registry::HKEY_LOCAL_MACHINE, InstallKey, u"InstallDir"), u"\\Program Files\\Tavrel");
    EXPECT_EQ(Number(registry::HKEY_LOCAL_MACHINE, InstallKey, u"Instl"), 1u);
    EXPECT_EQ(Number(registry::HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", u"Initialized"), 1u)
        << "a fresh installation applies the default skin at the next start";
}

TEST_F(InstallCommandTest, InstallIfNeededDoesNothingUntilThePackageChanges)
{
    ASSERT_EQ(Install().exitCode, 0);
    ToolRun again = Install({"--if-needed"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "Tavrel is installed and up to date\n");

    // A newer file in the package installs it again, over the installation: the user's skin choice
    // ("Initialized" already cleared by the calendar) stays as it is.
    {
        registry::ScopedKey settings;
        ASSERT_EQ(registry::ScopedKey::open(registry::HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", settings), registry::ERROR_SUCCESS);
        const std::uint32_t zero = 0;
        ASSERT_EQ(registry::setValue(settings.get(), u"Initialized", registry::REG_DWORD, &zero, sizeof zero), registry::ERROR_SUCCESS);
    }
    Write("Program Files/Tavrel/Daybar.gif", "new day bar");
    std::filesystem::last_write_time(package / "Program Files/Tavrel/Daybar.gif",
                                     std::filesystem::file_time_type::clock::now() + 10s);
    ToolRun newer = Install({"--if-needed"});
    EXPECT_EQ(newer.exitCode, 0) << newer.err;
    EXPECT_NE(newer.out.find("installed Tavrel"), std::string::npos) << newer.out;
    EXPECT_EQ(ReadFile(device.host("Program Files/Tavrel/Daybar.gif")), "new day bar");
    EXPECT_EQ(Number(registry::HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", u"Initialized"), 0u);

    // So does an installed file that went missing.
    std::filesystem::remove(device.host("Program Files/Tavrel/Icons/Cake.gif"));
    EXPECT_NE(Install({"--if-needed"}).out.find("installed Tavrel"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(device.host("Program Files/Tavrel/Icons/Cake.gif")));
}

TEST_F(InstallCommandTest, UninstallRemovesWhatTheInstallationPutThereAndNothingElse)
{
    ASSERT_EQ(Install().exitCode, 0);
    std::ofstream(device.host("My Documents/CalendarSkinDefault/Mine.jpg")) << "mine";
    std::ofstream(device.host("My Documents/Tavrel.Rules")) << "rules";

    ToolRun run = runDeviceTool(device.root(), {"uninstall", "--answer", "yes"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "uninstalled Tavrel (4 files)\n");
    EXPECT_FALSE(std::filesystem::exists(device.host("Program Files/Tavrel"))) << "its emptied folders go too";
    EXPECT_TRUE(std::filesystem::is_directory(device.host("Program Files")));
    EXPECT_FALSE(std::filesystem::exists(device.host("My Documents/CalendarSkinDefault/Default.TavrelSkin")));
    EXPECT_EQ(ReadFile(device.host("My Documents/CalendarSkinDefault/Mine.jpg")), "mine");
    EXPECT_EQ(ReadFile(device.host("My Documents/Tavrel.Rules")), "rules");
    EXPECT_FALSE(std::filesystem::exists(device.host("Windows/Start Menu/Programs/Tavrel.lnk")));
    EXPECT_FALSE(std::filesystem::exists(device.host("Windows/Start Menu/Programs/QoLog Config.lnk")));
    EXPECT_FALSE(device::ProgramTable::find(u"\\Program Files\\Tavrel\\Tavrel.exe"));
    EXPECT_FALSE(device::ProgramTable::find(u"\\Windows\\AppMgr\\Orvix Tavrel.DLL"));
    EXPECT_FALSE(Text(registry::HKEY_LOCAL_MACHINE, InstallKey, u"InstallDir"));
    EXPECT_TRUE(Number(registry::HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", u"Initialized")) << "settings stay";

    ToolRun again = runDeviceTool(device.root(), {"uninstall", "--headless"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "Tavrel is not installed\n");
}

TEST_F(InstallCommandTest, UninstallOnADeviceWhereTheCalendarRanButNothingIsInstalledSaysSo)
{
    // The calendar reads the install folder through a key it creates when missing; an empty key is
    // no installation.
    ASSERT_EQ(runDeviceTool(device.root(), {"reg", "set", "HKLM", "Software\\Apps\\Orvix Tavrel\\Probe", "x", "sz", "y"}).exitCode, 0);
    ASSERT_EQ(runDeviceTool(device.root(), {"reg", "delete", "HKLM", "Software\\Apps\\Orvix Tavrel\\Probe"}).exitCode, 0);
    ToolRun run = runDeviceTool(device.root(), {"uninstall", "--headless"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Tavrel is not installed\n");
}

TEST_F(InstallCommandTest, AMissingPackageAndBadArgumentsAreRefused)
{
    ToolRun missing = runDeviceTool(device.root(), {"install", (device.root() / "nowhere").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("no Tavrel package"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(device.host("Windows/Start Menu/Programs/Tavrel.lnk")));
    EXPECT_EQ(runDeviceTool(device.root(), {"install", "--now"}).exitCode, 2);
    EXPECT_EQ(runDeviceTool(device.root(), {"install", "a", "b"}).exitCode, 2);
    EXPECT_EQ(runDeviceTool(device.root(), {"uninstall", "x"}).exitCode, 2);
    EXPECT_EQ(runDeviceTool(device.root(), {"uninstall", "--answer", "maybe"}).exitCode, 2);
    EXPECT_EQ(runDeviceTool(device.root(), {"uninstall", "--answer"}).exitCode, 2);
    EXPECT_EQ(runDeviceTool(device.root(), {"install", "--setup-library"}).exitCode, 2);
}

// The installer with a setup library of the tests' (tests/fixtures), which records its calls.
class SetupLibraryCallsTest : public InstallCommandTest {
protected:
    ToolRun Tool(const std::vector<std::string>& args, const std::string& answers = "") const
    {
        std::vector<std::string> all = {"--device", device.root().string()};
        all.insert(all.end(), args.begin(), args.end());
        return runProgram("tavrel-device", all,
                          {"TAVREL_SETUP_FIXTURE_LOG=" + calls.string(), "TAVREL_SETUP_FIXTURE_ANSWERS=" + answers});
    }

    ToolRun InstallWith(const std::string& library, const std::string& answers = "") const
    {
        return Tool({"install", "--setup-library", programPath(library).string(), package.string()}, answers);
    }

    std::filesystem::path calls = device.root() / "calls.txt";
};

TEST_F(SetupLibraryCallsTest, TheSetupLibraryIsCalledBeforeAndAfterTheFilesAreCopiedAndRemoved)
{
    ToolRun first = InstallWith("libsetup_fixture_recording.so");
    ASSERT_EQ(first.exitCode, 0) << first.err;
    ToolRun second = InstallWith("libsetup_fixture_recording.so");
    ASSERT_EQ(second.exitCode, 0) << second.err;
    ToolRun removal = Tool({"uninstall", "--answer", "no"});
    ASSERT_EQ(removal.exitCode, 0) << removal.err;
    EXPECT_EQ(ReadFile(calls), "Install_Init first=1 previous=0 dir=\\Program Files\\Tavrel package=0\n"
                               "Install_Exit dir=\\Program Files\\Tavrel failed=0,0,0,0,0 package=1\n"
                               "Install_Init first=1 previous=1 dir=\\Program Files\\Tavrel package=1\n"
                               "Install_Exit dir=\\Program Files\\Tavrel failed=0,0,0,0,0 package=1\n"
                               "Uninstall_Init dir=\\Program Files\\Tavrel package=1\n"
                               "Uninstall_Exit package=0\n");
    EXPECT_EQ(removal.out, "uninstalled Tavrel (4 files)\n");
}

TEST_F(SetupLibraryCallsTest, ALibraryThatCannotBeUsedIsNamedAndThePackageGoesOnWithoutIt)
{
    ToolRun incomplete = InstallWith("libsetup_fixture_incomplete.so");
    EXPECT_EQ(incomplete.exitCode, 0) << incomplete.err;
    EXPECT_NE(incomplete.err.find("the setup library " + programPath("libsetup_fixture_incomplete.so").string()
                                  + " lacks Uninstall_Init, Uninstall_Exit; going on without it"),
              std::string::npos)
        << incomplete.err;
    EXPECT_EQ(ReadFile(device.host("Program Files/Tavrel/Icons/Cake.gif")), "cake");
    EXPECT_FALSE(device::ProgramTable::find(u"\\Windows\\AppMgr\\Orvix Tavrel.DLL")) << "no library recorded";
    EXPECT_EQ(ReadFile(calls), "") << "nothing of it ran";

    const std::filesystem::path nowhere = device.root() / "libNowhere.so";
    ToolRun missing = Tool({"install", "--setup-library", nowhere.string(), package.string()});
    EXPECT_EQ(missing.exitCode, 0) << missing.err;
    EXPECT_NE(missing.err.find("the setup library " + nowhere.string() + " cannot be loaded: "), std::string::npos)
        << missing.err;

    ToolRun removal = Tool({"uninstall", "--answer", "no"});
    EXPECT_EQ(removal.exitCode, 0) << removal.err;
    EXPECT_EQ(removal.out, "uninstalled Tavrel (4 files)\n");
    EXPECT_EQ(removal.err, "") << "an installation without a library is removed without one";

    // A recorded library that has gone since is named, and the package still goes.
    ASSERT_EQ(InstallWith("libsetup_fixture_recording.so").exitCode, 0);
    ASSERT_TRUE(device::ProgramTable::set(u"\\Windows\\AppMgr\\Orvix Tavrel.DLL", nowhere));
    ToolRun gone = Tool({"uninstall", "--answer", "no"});
    EXPECT_EQ(gone.exitCode, 0) << gone.err;
    EXPECT_NE(gone.err.find(nowhere.string() + " cannot be loaded"), std::string::npos) << gone.err;
    EXPECT_FALSE(std::filesystem::exists(device.host("Program Files/Tavrel")));
}

TEST_F(SetupLibraryCallsTest, ALibraryThatCancelsStopsTheInstallationOrTheRemoval)
{
    ToolRun cancelled = InstallWith("libsetup_fixture_recording.so", "Install_Init=1");
    EXPECT_EQ(cancelled.exitCode, 1);
    EXPECT_NE(cancelled.err.find("cancelled the installation"), std::string::npos) << cancelled.err;
    EXPECT_FALSE(std::filesystem::exists(device.host("Program Files/Tavrel"))) << "nothing was copied";

    ToolRun takenBack = InstallWith("libsetup_fixture_recording.so", "Install_Exit=1");
    EXPECT_EQ(takenBack.exitCode, 1);
    EXPECT_NE(takenBack.err.find("asked to take the installation back"), std::string::npos) << takenBack.err;
    EXPECT_FALSE(std::filesystem::exists(device.host("Program Files/Tavrel")));
    EXPECT_FALSE(Text(registry::HKEY_LOCAL_MACHINE, InstallKey, u"InstallDir"));

    ASSERT_EQ(InstallWith("libsetup_fixture_recording.so").exitCode, 0);
    ToolRun kept = Tool({"uninstall", "--answer", "no"}, "Uninstall_Init=1");
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_NE(kept.err.find("kept the package installed"), std::string::npos) << kept.err;
    EXPECT_EQ(ReadFile(device.host("Program Files/Tavrel/Icons/Cake.gif")), "cake");
    EXPECT_TRUE(Text(registry::HKEY_LOCAL_MACHINE, InstallKey, u"InstallDir"));
}

TEST_F(InstallCommandTest, ThePackagesSetupLibraryPlacesTheTodayPlugInAndAsksHeadlessWithItsDefault)
{
    Write("Program Files/Tavrel/TavrelToday2002.DLL", "plug-in 2002");
    Write("Program Files/Tavrel/TavrelToday2000.DLL", "plug-in 2000");
    ASSERT_EQ(Install().exitCode, 0);
    EXPECT_EQ(ReadFile(device.host("Windows/TavrelToday.DLL")), "plug-in 2002");
    EXPECT_EQ(Text(registry::HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Tavrel", u"DLL"),
              u"\\Windows\\TavrelToday.DLL");
    EXPECT_EQ(device::ProgramTable::find(u"\\Windows\\AppMgr\\Orvix Tavrel.DLL"),
              std::filesystem::absolute(programPath("libTavrelSetup.so")).lexically_normal());

    ToolRun removal = runDeviceTool(device.root(), {"uninstall", "--headless"});
    ASSERT_EQ(removal.exitCode, 0) << removal.err;
    EXPECT_EQ(removal.err, "message-box: Tavrel Setup: Do you want to leave your Icon Rules file and other Tavrel "
                           "settings on your device?\n");
    EXPECT_TRUE(Number(registry::HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", u"Initialized")) << "Yes keeps them";
    EXPECT_FALSE(std::filesystem::exists(device.host("Windows/TavrelToday.DLL")));
    EXPECT_FALSE(Text(registry::HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Tavrel", u"DLL"));
}

} // namespace
