#include "MainFrameTestSupport.h"

#include "PinnedClock.h"

#include "platform/pim/Application.h"
#include "platform/ui/MessageBox.h"

#include <thread>

namespace shell_testing {

std::string Utf8(device::WideView text) { return device::toUtf8(text); }

StartedProgram::StartedProgram()
{
    device::DeviceClock::setForTesting(testing_support::localTime(2026, 12, 8, 15, 45), device::DeviceClock::Flow::Frozen);
    CTavrelOrderedLock::SetViolationHandler([](const CTavrelOrderedLock& held, const CTavrelOrderedLock& wanted) {
        ADD_FAILURE() << "took the " << Utf8(wanted.GetName()) << " while holding the " << Utf8(held.GetName());
    });
    automation.onModal([this](ui::Window& window) {
        if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
            messages.push_back(Utf8(box->message()));
            box->endDialog(box->defaultResult());
        } else if (onDialog) {
            onDialog(window);
        } else if (auto* dialog = dynamic_cast<ui::Dialog*>(&window)) {
            dialog->endDialog(ui::IDCANCEL);
        }
    });
}

StartedProgram::~StartedProgram()
{
    Stop();
    desktop.setModalObserver({});
    CTavrelOrderedLock::SetViolationHandler(nullptr);
    device::DeviceClock::resetForTesting();
}

void StartedProgram::AddAppointment(const char16_t* subject, const device::OleDateTime& start, const device::OleDateTime& end)
{
    auto store = pim::Application::create();
    ASSERT_TRUE(store && store->logon());
    auto item = store->createItem(pim::olAppointmentItem);
    ASSERT_TRUE(item->setStart(start) && item->setEnd(end));
    item->setSubject(subject);
    ASSERT_TRUE(item->save());
}

bool StartedProgram::Start(const std::vector<CQoString>& parameters)
{
    app = std::make_unique<CTavrelApp>();
    app->SetControlPorts(0, 47913); // any free port for commands; nothing listens for notifications
    app->SetNotificationSink([this](const CQoString& text) { notifications.push_back(Utf8(text.View())); });
    const bool started = app->InitInstance(parameters);
    desktop.runUntilIdle();
    return started;
}

bool StartedProgram::WaitForReaderPass(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        desktop.runUntilIdle();
        if (app->GetMainFrame() && app->GetMainFrame()->IsReaderPassDrawn())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void StartedProgram::Command(int id)
{
    Frame().send(ui::WM_COMMAND, ui::MAKEWPARAM(unsigned(id), 0), 0);
    desktop.runUntilIdle();
}

void StartedProgram::Stop()
{
    if (!app)
        return;
    app->ExitInstance();
    app.reset();
}

} // namespace shell_testing
