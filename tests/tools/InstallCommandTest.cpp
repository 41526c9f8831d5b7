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

    ToolRun run = runDeviceTool(device.root(), {"uninstall"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "uninstalled Tavrel (4 files)\n");
    EXPECT_FALSE(std::filesystem::exists(device.host("Program Files/Tavrel"))) << "its emptied folders go too";
    EXPECT_TRUE(std::filesystem::is_directory(device.host("Program Files")));
    EXPECT_FALSE(std::filesystem::exists(device.host("My Documents/CalendarSkinDefault/Default.TavrelSkin")));
    EXPECT_EQ(ReadFile(device.host("My Documents/CalendarSkinDefault/Mine.jpg")), "mine");
    EXPECT_EQ(ReadFile(device.host("My Documents/Tavrel.Rules")), "rules");
    EXPECT_FALSE(std::filesystem::exists(device.host("Windows/Start Menu/Programs/Tavrel.lnk")));
    EXPECT_FALSE(device::ProgramTable::find(u"\\Program Files\\Tavrel\\Tavrel.exe"));
    EXPECT_FALSE(Text(registry::HKEY_LOCAL_MACHINE, InstallKey, u"InstallDir"));
    EXPECT_TRUE(Number(registry::HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", u"Initialized")) << "settings stay";

    ToolRun again = runDeviceTool(device.root(), {"uninstall"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "Tavrel is not installed\n");
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
}

} // namespace
