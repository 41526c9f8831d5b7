// The setup library as the package installer meets it: the built libTavrelSetup.so loaded with the
// platform's loader and its four functions called by name, on a throw-away device. Its question
// at removal is answered on a headless desktop of this program, which exports its message box as
// the installer does.

#include "TempDevice.h"

#include "common/QoRegistry.h"
#include "platform/device/DeviceIdentity.h"
#include "platform/device/OleDateTime.h"
#include "platform/installer/SetupLibrary.h"
#include "platform/scheduler/RunAppAtTime.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace {

using installer::codeINSTALL_EXIT_DONE;
using installer::codeINSTALL_INIT_CONTINUE;
using installer::codeUNINSTALL_EXIT_DONE;
using installer::codeUNINSTALL_INIT_CONTINUE;

constexpr const char16_t* InstallDir = u"\\Program Files\\Tavrel";
constexpr const char16_t* ReminderProgram = u"\\Program Files\\Tavrel\\TavrelReminder.Exe";
constexpr const char16_t* TodayItems = u"Software\\Microsoft\\Today\\Items";
constexpr const char* Question
    = "Do you want to leave your Icon Rules file and other Tavrel settings on your device?";

device::SystemTime At(int year, int month, int day, int hour)
{
    device::SystemTime time {};
    device::OleDateTime(year, month, day, hour, 0, 0).GetAsSystemTime(time);
    return time;
}

class TavrelSetupLibraryTest : public ::testing::Test {
protected:
    TavrelSetupLibraryTest()
    {
        std::string error;
        setup = installer::SetupLibrary::load(TAVREL_SETUP_LIBRARY, &error);
        EXPECT_TRUE(setup) << error;
    }

    ~TavrelSetupLibraryTest() override
    {
        if (desktop)
            desktop->setModalObserver({});
    }

    std::filesystem::path Host(const std::string& relative) const { return device.host(relative); }

    void WriteFile(const std::string& relative, const std::string& text) const
    {
        std::filesystem::create_directories(Host(relative).parent_path());
        std::ofstream(Host(relative), std::ios::binary) << text;
    }

    std::optional<std::string> ReadFile(const std::string& relative) const
    {
        std::ifstream in(Host(relative), std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The package's two plug-in variants in the install folder.
    void PutPackage() const
    {
        WriteFile("Program Files/Tavrel/TavrelToday2002.DLL", "plug-in 2002");
        WriteFile("Program Files/Tavrel/TavrelToday2000.DLL", "plug-in 2000");
    }

    static void SetIdentity(std::uint32_t major, const char16_t* platform)
    {
        device::DeviceIdentity identity;
        identity.majorVersion = major;
        identity.platformType = platform;
        ASSERT_TRUE(identity.write());
    }

    static bool KeyExists(HKEY hive, const char16_t* path) { return CQoRegistry(hive, path, false).IsOpen(); }

    static void MakeKey(HKEY hive, const char16_t* path, const char16_t* value = u"Marker")
    {
        CQoRegistry key(hive, path, true);
        ASSERT_TRUE(key.SetDWORD(value, 1));
    }

    // Everything the settings question may remove.
    void PutSettings() const
    {
        MakeKey(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\QoLog", u"Tavrel");
        MakeKey(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\Tavrel");
        MakeKey(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\Tavrel\\Deeper\\Still");
        MakeKey(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", u"Initialized");
        MakeKey(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars\\Projects");
        MakeKey(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Reminder\\A7");
        CQoRegistry(HKEY_LOCAL_MACHINE, u"Software\\Apps\\Orvix Tavrel", true).SetString(u"InstallDir", InstallDir);
        WriteFile("My Documents/Tavrel.Rules", "rules");
    }

    // Answers the setup's question with `answer` and records what it asked.
    void Answer(int answer)
    {
        desktop = std::make_unique<ui::Desktop>(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual());
        desktop->setModalObserver([this, answer](ui::Window& window) {
            if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
                asked.push_back(device::toUtf8(box->text()) + ": " + device::toUtf8(box->message()));
                yesNo = box->buttons() == std::vector<int> {ui::IDYES, ui::IDNO};
                box->endDialog(answer);
            }
        });
    }

    installer::codeUNINSTALL_INIT UninstallInit()
    {
        ::testing::internal::CaptureStderr();
        const installer::codeUNINSTALL_INIT result = setup->uninstallInit(nullptr, InstallDir);
        ::testing::internal::GetCapturedStderr();
        return result;
    }

    testing_support::TempDevice device;
    std::unique_ptr<installer::SetupLibrary> setup;
    std::unique_ptr<ui::Desktop> desktop;
    std::vector<std::string> asked;
    bool yesNo = false;
};

TEST_F(TavrelSetupLibraryTest, InstallInitMovesThePlugInInPlaceAsideAndChangesNothingWithoutOne)
{
    ASSERT_TRUE(setup);
    const auto before = std::distance(std::filesystem::directory_iterator(Host("Windows")), {});
    EXPECT_EQ(setup->installInit(nullptr, true, false, InstallDir), codeINSTALL_INIT_CONTINUE);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Host("Windows")), {}), before);

    WriteFile("Windows/TavrelToday.DLL", "loaded plug-in");
    WriteFile("Windows/TavrelToday.$$$", "the one before");
    EXPECT_EQ(setup->installInit(nullptr, true, true, InstallDir), codeINSTALL_INIT_CONTINUE);
    EXPECT_EQ(ReadFile("Windows/TavrelToday.$$$"), "loaded plug-in");
    EXPECT_FALSE(ReadFile("Windows/TavrelToday.DLL"));
}

TEST_F(TavrelSetupLibraryTest, InstallExitPlacesTheVariantOfThePlatformAndRegistersItWithTheTodayScreen)
{
    ASSERT_TRUE(setup);
    PutPackage();
    MakeKey(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Tavrel Today\\Options");
    MakeKey(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Calendar");

    // A new device is a Pocket PC 2002: major version 3, platform type "PocketPC".
    EXPECT_EQ(setup->installExit(nullptr, InstallDir), codeINSTALL_EXIT_DONE);
    EXPECT_EQ(ReadFile("Windows/TavrelToday.DLL"), "plug-in 2002");

    CQoRegistry item(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Tavrel", false);
    ASSERT_TRUE(item.IsOpen());
    EXPECT_EQ(std::u16string(item.GetString(u"DLL", nullptr).GetString()), u"\\Windows\\TavrelToday.DLL");
    EXPECT_EQ(item.GetDWORD(u"Type", CQoRegistry::NoWriteBack), 4u);
    EXPECT_EQ(item.GetDWORD(u"Options", CQoRegistry::NoWriteBack), 0u);
    EXPECT_EQ(item.GetDWORD(u"Enabled", CQoRegistry::NoWriteBack), 1u);
    // The earlier version's item goes with everything below it; other items stay.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Tavrel Today"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Calendar"));

    struct Platform {
        std::uint32_t major;
        const char16_t* type;
        const char* variant;
    };
    const Platform platforms[] = {{4, u"PocketPC", "plug-in 2000"}, {3, u"Smartphone", "plug-in 2000"},
                                  {2, u"PocketPC", "plug-in 2000"}, {3, u"PocketPC", "plug-in 2002"}};
    for (const Platform& platform : platforms) {
        SetIdentity(platform.major, platform.type);
        // Given with a trailing backslash, as some installers hand the folder over.
        EXPECT_EQ(setup->installExit(nullptr, u"\\Program Files\\Tavrel\\"), codeINSTALL_EXIT_DONE);
        EXPECT_EQ(ReadFile("Windows/TavrelToday.DLL"), platform.variant)
            << "major " << platform.major << ", " << device::toUtf8(platform.type);
    }
}

TEST_F(TavrelSetupLibraryTest, InstallingOverAPlugInThatIsHeldReplacesItThroughTheAsideName)
{
    ASSERT_TRUE(setup);
    PutPackage();
    WriteFile("Windows/TavrelToday.DLL", "old plug-in");
    setup->installInit(nullptr, true, true, InstallDir);
    setup->installExit(nullptr, InstallDir);
    EXPECT_EQ(ReadFile("Windows/TavrelToday.DLL"), "plug-in 2002");
    EXPECT_EQ(ReadFile("Windows/TavrelToday.$$$"), "old plug-in");

    // A package without the plug-in files still registers and goes on.
    std::filesystem::remove_all(Host("Program Files/Tavrel"));
    std::filesystem::remove(Host("Windows/TavrelToday.DLL"));
    EXPECT_EQ(setup->installExit(nullptr, InstallDir), codeINSTALL_EXIT_DONE);
    EXPECT_FALSE(ReadFile("Windows/TavrelToday.DLL"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Tavrel"));
}

TEST_F(TavrelSetupLibraryTest, UninstallInitCancelsTheReminderProgramsStartAndAnswerYesKeepsEverything)
{
    ASSERT_TRUE(setup);
    PutSettings();
    ASSERT_TRUE(scheduler::runAppAtTime(ReminderProgram, At(2030, 12, 8, 9)));
    ASSERT_TRUE(scheduler::runAppAtTime(u"\\Program Files\\Varnow\\Varnow.EXE", At(2030, 12, 8, 10)));
    Answer(ui::IDYES);

    EXPECT_EQ(UninstallInit(), codeUNINSTALL_INIT_CONTINUE);
    EXPECT_EQ(asked, std::vector<std::string> {std::string("Tavrel Setup: ") + Question});
    EXPECT_TRUE(yesNo);
    EXPECT_FALSE(scheduler::pendingStart(ReminderProgram));
    EXPECT_TRUE(scheduler::pendingStart(u"\\Program Files\\Varnow\\Varnow.EXE")) << "another program's start stays";

    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\QoLog"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\Tavrel\\Deeper\\Still"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Reminder\\A7"));
    EXPECT_EQ(ReadFile("My Documents/Tavrel.Rules"), "rules");
}

TEST_F(TavrelSetupLibraryTest, AnswerNoRemovesTheSettingsTheSwitchesTheRulesFileAndTheEmptyMakerKeys)
{
    ASSERT_TRUE(setup);
    PutSettings();
    CQoRegistry(HKEY_LOCAL_MACHINE, u"Software\\Orvix", true).SetString(u"Owner", u"Orvix");
    Answer(ui::IDNO);

    EXPECT_EQ(UninstallInit(), codeUNINSTALL_INIT_CONTINUE);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Orvix"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, u"Software\\Orvix"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Apps\\Orvix Tavrel")) << "the installer's key is its own";
    EXPECT_FALSE(ReadFile("My Documents/Tavrel.Rules"));
    EXPECT_TRUE(std::filesystem::is_directory(Host("My Documents")));
}

TEST_F(TavrelSetupLibraryTest, AnswerNoKeepsTheMakerKeyWhileAnotherOfItsProgramsUsesIt)
{
    ASSERT_TRUE(setup);
    PutSettings();
    MakeKey(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\Varnow");
    Answer(ui::IDNO);

    UninstallInit();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\Varnow"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\QoLog"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Orvix\\Tavrel"));
    // The user's hive had nothing else of the maker's.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, u"Software\\Orvix"));
}

TEST_F(TavrelSetupLibraryTest, TheReminderProgramIsFoundThroughEitherInstallKeyOrAtTheRoot)
{
    ASSERT_TRUE(setup);
    Answer(ui::IDYES);
    // No install key of the Orvix edition: the equipment maker's edition names the folder.
    CQoRegistry oem(HKEY_LOCAL_MACHINE, u"Software\\Apps\\OEM Tavrel", true);
    oem.SetString(u"InstallDir", u"\\Storage\\Tavrel\\");
    oem.Close();
    ASSERT_TRUE(scheduler::runAppAtTime(u"\\Storage\\Tavrel\\TavrelReminder.Exe", At(2030, 12, 8, 9)));
    UninstallInit();
    EXPECT_FALSE(scheduler::pendingStart(u"\\Storage\\Tavrel\\TavrelReminder.Exe"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Apps\\Orvix Tavrel")) << "reading creates no key";

    // Neither key holds a folder: the program at the root.
    CQoRegistry(HKEY_LOCAL_MACHINE, u"Software\\Apps", false).DeleteSubKey(u"OEM Tavrel");
    ASSERT_TRUE(scheduler::runAppAtTime(u"\\TavrelReminder.Exe", At(2030, 12, 8, 9)));
    UninstallInit();
    EXPECT_FALSE(scheduler::pendingStart(u"\\TavrelReminder.Exe"));
}

TEST_F(TavrelSetupLibraryTest, AQuestionNobodyCanBeAskedKeepsTheSettings)
{
    ASSERT_TRUE(setup);
    PutSettings();
    // No window system runs in this program.
    EXPECT_EQ(setup->uninstallInit(nullptr, InstallDir), codeUNINSTALL_INIT_CONTINUE);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel"));
    EXPECT_EQ(ReadFile("My Documents/Tavrel.Rules"), "rules");
}

TEST_F(TavrelSetupLibraryTest, UninstallExitRemovesThePlugInItsTodayItemsAndTheShortcut)
{
    ASSERT_TRUE(setup);
    PutPackage();
    setup->installExit(nullptr, InstallDir);
    WriteFile("Windows/TavrelToday.$$$", "aside");
    WriteFile("Windows/Start Menu/Programs/Tavrel.lnk", "34#\"\\Program Files\\Tavrel\\Tavrel.exe\"");
    WriteFile("Windows/Start Menu/Programs/Other.lnk", "other");
    MakeKey(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Tavrel Today");

    EXPECT_EQ(setup->uninstallExit(nullptr), codeUNINSTALL_EXIT_DONE);
    EXPECT_FALSE(ReadFile("Windows/TavrelToday.DLL"));
    EXPECT_FALSE(ReadFile("Windows/TavrelToday.$$$"));
    EXPECT_FALSE(ReadFile("Windows/Start Menu/Programs/Tavrel.lnk"));
    EXPECT_EQ(ReadFile("Windows/Start Menu/Programs/Other.lnk"), "other");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Tavrel"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Today\\Items\\Tavrel Today"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, TodayItems)) << "the Today screen's own key stays";

    // Nothing left to remove: still done.
    EXPECT_EQ(setup->uninstallExit(nullptr), codeUNINSTALL_EXIT_DONE);
}

} // namespace
