#pragma once
// Stand-ins for what the control commands talk to: a frame and view that record what they were
// asked, a notifier that keeps what was sent, and an application on a throw-away device with its
// frame attached (so calendar changes notify, as in the program).

#include "control/TavrelControlHost.h"
#include "control/TavrelNotifier.h"
#include "data/TavrelMainWindow.h"
#include "data/TavrelOrderedLock.h"
#include "shell/TavrelApp.h"

#include "TempDevice.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace control_test {

// UTF-8 for readable assertions.
std::string utf8(const CQoString& text);

class CollectingNotifier : public CTavrelNotifier {
public:
    bool Send(const CQoString& text) override;
    // What was sent, oldest first; Take() empties the list.
    std::vector<std::string> Take();
    std::vector<std::string> sent;
    bool fails = false;
};

class StandInHost : public CTavrelControlHost, public CTavrelMainWindow {
public:
    StandInHost(CTavrelApp& app, CTavrelNotifier& notifier) : m_app(app), m_notifier(notifier) {}

    int GetViewMode() override { return mode; }
    device::OleDateTime GetViewDate() override { return date; }
    void SetViewMode(int newMode) override;
    void SetViewDate(int year, int month, int day) override;
    void ShowCalendarWindow() override { ++shows; }
    void RebuildCommandBar() override { ++rebuilds; }
    void PostQuit() override { ++quits; }
    void ShowMessageBox(const CQoString& text) override { boxes.push_back(utf8(text)); }

    // As the frame: the check marks follow the current calendar and control applications hear.
    CTavrelReaderView* GetReaderView() override { return nullptr; }
    void RefreshCalendarChecks() override;
    void ReloadViewEvents() override { ++reloads; }

    int mode = 2; // Monthly
    device::OleDateTime date{2026, 3, 4, 0, 0, 0};
    int shows = 0, rebuilds = 0, quits = 0, reloads = 0;
    std::vector<std::string> boxes;
    std::vector<std::string> calls; // "mode N", "date Y-M-D"

private:
    CTavrelApp& m_app;
    CTavrelNotifier& m_notifier;
};

// Fails the running test when a thread takes the application's locks out of order.
class LockOrderGuard {
public:
    LockOrderGuard();
    ~LockOrderGuard();
};

// An application on a fresh device with the stand-in frame attached.
class ControlFixture : public ::testing::Test {
protected:
    ControlFixture();
    ~ControlFixture() override;

    testing_support::TempDevice device;
    LockOrderGuard lockOrder;
    std::unique_ptr<CTavrelApp> app;
    CollectingNotifier notifier;
    std::unique_ptr<StandInHost> host;
};

} // namespace control_test
