#pragma once
// The program's start-up in a test: a throw-away device with a pinned clock, a headless desktop,
// and the application started as the program starts it, its notifications and message boxes
// recorded. The control socket takes a free port, and notifications stay in the test.

#include "data/TavrelOrderedLock.h"
#include "platform/device/DeviceClock.h"
#include "platform/ui/Automation.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "shell/MainFrame.h"
#include "shell/TavrelApp.h"

#include "TempDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace shell_testing {

std::string Utf8(device::WideView text);

class StartedProgram : public ::testing::Test {
protected:
    StartedProgram();
    ~StartedProgram() override;

    // Saves an appointment in the device's store.
    void AddAppointment(const char16_t* subject, const device::OleDateTime& start, const device::OleDateTime& end);
    // Runs the start-up with these parameters.
    bool Start(const std::vector<CQoString>& parameters = {});
    CMainFrame& Frame() { return *app->GetMainFrame(); }
    // Lets the loop run until the view has taken in a pass of the reader for what it shows.
    bool WaitForReaderPass(std::chrono::milliseconds limit = std::chrono::seconds(20));
    // Sends a command to the frame as a menu item or tool button does.
    void Command(int id);
    // Ends the program as it ends after its message loop.
    void Stop();

    testing_support::TempDevice device;
    ui::Desktop desktop{std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual()};
    ui::Automation automation{desktop};
    std::unique_ptr<CTavrelApp> app;
    std::vector<std::string> notifications;
    std::vector<std::string> messages;
    // Answers a dialog that is not a message box; message boxes are recorded and answered OK.
    std::function<void(ui::Window&)> onDialog;
};

} // namespace shell_testing
