// Loading setup libraries: the platform's loader finds the four functions by name, refuses a library
// that lacks one, and hands a library its program's device and message box.

#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/device/ProgramServices.h"
#include "platform/device/SharedLibrary.h"
#include "platform/installer/SetupLibrary.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

using testing_support::programPath;

std::string Read(const std::filesystem::path& file)
{
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SetupLibraryTest : public ::testing::Test {
protected:
    SetupLibraryTest()
    {
        ::setenv("TAVREL_SETUP_FIXTURE_LOG", log.c_str(), 1);
        ::unsetenv("TAVREL_SETUP_FIXTURE_ANSWERS");
    }
    ~SetupLibraryTest() override
    {
        ::unsetenv("TAVREL_SETUP_FIXTURE_LOG");
        ::unsetenv("TAVREL_SETUP_FIXTURE_ANSWERS");
    }

    testing_support::TempDevice device;
    std::filesystem::path log = device.root() / "calls.txt";
};

TEST_F(SetupLibraryTest, TheFourFunctionsAreCalledByNameWithTheInstallersArgumentsAndAnswerTheirCodes)
{
    std::string error;
    std::unique_ptr<installer::SetupLibrary> setup
        = installer::SetupLibrary::load(programPath("libsetup_fixture_recording.so"), &error);
    ASSERT_TRUE(setup) << error;
    EXPECT_EQ(setup->installInit(nullptr, true, false, u"\\Program Files\\Tavrel"),
              installer::codeINSTALL_INIT_CONTINUE);
    EXPECT_EQ(setup->installExit(nullptr, u"\\Program Files\\Tavrel", 1, 2, 3, 4, 5), installer::codeINSTALL_EXIT_DONE);
    EXPECT_EQ(setup->uninstallInit(installer::toHwnd(0x123), u"\\Program Files\\Tavrel"),
              installer::codeUNINSTALL_INIT_CONTINUE);
    EXPECT_EQ(setup->uninstallExit(nullptr), installer::codeUNINSTALL_EXIT_DONE);
    EXPECT_EQ(Read(log), "Install_Init first=1 previous=0 dir=\\Program Files\\Tavrel package=0\n"
                         "Install_Exit dir=\\Program Files\\Tavrel failed=1,2,3,4,5 package=0\n"
                         "Uninstall_Init dir=\\Program Files\\Tavrel package=0\n"
                         "Uninstall_Exit package=0\n");

    // The library's answers come back as they are: a cancelled installation is the installer's to
    // handle.
    ::setenv("TAVREL_SETUP_FIXTURE_ANSWERS", "Install_Init=1,Install_Exit=1,Uninstall_Init=1", 1);
    EXPECT_EQ(setup->installInit(nullptr, false, true, u"\\X"), installer::codeINSTALL_INIT_CANCEL);
    EXPECT_EQ(setup->installExit(nullptr, u"\\X"), installer::codeINSTALL_EXIT_UNINSTALL);
    EXPECT_EQ(setup->uninstallInit(nullptr, u"\\X"), installer::codeUNINSTALL_INIT_CANCEL);
}

TEST_F(SetupLibraryTest, ALibraryThatLacksAFunctionOrCannotBeLoadedIsRefusedWithItsNameAndTheReason)
{
    std::string error;
    const std::filesystem::path incomplete = programPath("libsetup_fixture_incomplete.so");
    EXPECT_FALSE(installer::SetupLibrary::load(incomplete, &error));
    EXPECT_EQ(error, incomplete.string() + " lacks Uninstall_Init, Uninstall_Exit");

    const std::filesystem::path missing = device.root() / "libNowhere.so";
    EXPECT_FALSE(installer::SetupLibrary::load(missing, &error));
    EXPECT_EQ(error.rfind(missing.string() + " cannot be loaded: ", 0), 0u) << error;

    // Text is no library.
    const std::filesystem::path text = device.root() / "libText.so";
    std::ofstream(text) << "not a library";
    EXPECT_FALSE(installer::SetupLibrary::load(text, &error));
    EXPECT_NE(error.find("cannot be loaded"), std::string::npos) << error;
    EXPECT_EQ(Read(log), "") << "nothing of a refused library runs";
}

TEST_F(SetupLibraryTest, ALoadedLibrarySeesTheProgramsDevice)
{
    ::setenv(device::SharedLibrary::DeviceVariable, "/somewhere/else", 1);
    std::string error;
    std::unique_ptr<installer::SetupLibrary> setup
        = installer::SetupLibrary::load(programPath("libsetup_fixture_recording.so"), &error);
    ASSERT_TRUE(setup) << error;
    EXPECT_EQ(std::getenv(device::SharedLibrary::DeviceVariable), device.root().string());
    // The fixture looks for the package below $TAVREL_DEVICE.
    std::filesystem::create_directories(device.host("Program Files/Tavrel"));
    std::ofstream(device.host("Program Files/Tavrel/Daybar.gif")) << "day bar";
    setup->uninstallExit(nullptr);
    EXPECT_EQ(Read(log), "Uninstall_Exit package=1\n");
}

TEST(ProgramServicesTest, ALibrarysMessageBoxOpensInTheProgramsWindowSystemOrAsksNobody)
{
    // This test program exports its message box, as tavrel-device does.
    ASSERT_TRUE(device::SharedLibrary::processSymbol(device::MessageBoxExport));
    EXPECT_FALSE(device::SharedLibrary::processSymbol("NoSuchFunctionAnywhere"));

    // No window system: nobody can be asked.
    EXPECT_EQ(device::ProgramServices::messageBox(0, u"Keep?", u"Setup", device::ProgramServices::MB_YESNO), 0);

    ui::Desktop desktop(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual());
    std::string seen;
    desktop.setModalObserver([&seen](ui::Window& window) {
        auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window);
        ASSERT_TRUE(box);
        seen = device::toUtf8(box->text()) + ": " + device::toUtf8(box->message()) + " ("
               + std::to_string(box->buttons().size()) + " buttons)";
        box->endDialog(ui::IDNO);
    });
    ::testing::internal::CaptureStderr();
    const int answer = device::ProgramServices::messageBox(0, u"Keep?", u"Setup", device::ProgramServices::MB_YESNO);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, device::ProgramServices::IDNO);
    EXPECT_EQ(seen, "Setup: Keep? (2 buttons)");
    EXPECT_EQ(err, "message-box: Setup: Keep?\n");
    desktop.setModalObserver({});
}

} // namespace
