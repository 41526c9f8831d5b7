#include "ControlTestSupport.h"

#include "control/TavrelNotifications.h"
#include "platform/device/WideText.h"

namespace control_test {

std::string utf8(const CQoString& text)
{
    return device::toUtf8(text.View());
}

bool CollectingNotifier::Send(const CQoString& text)
{
    if (fails)
        return false;
    sent.push_back(utf8(text));
    return true;
}

std::vector<std::string> CollectingNotifier::Take()
{
    std::vector<std::string> taken;
    taken.swap(sent);
    return taken;
}

void StandInHost::SetViewMode(int newMode)
{
    calls.push_back("mode " + std::to_string(newMode));
    if (newMode == mode)
        return;
    mode = newMode;
    m_notifier.Send(CTavrelNotifications::ViewChanged(newMode));
}

void StandInHost::SetViewDate(int year, int month, int day)
{
    calls.push_back("date " + std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day));
    date = device::OleDateTime(year, month, day, 0, 0, 0);
    m_notifier.Send(CTavrelNotifications::DateChanged(date));
}

void StandInHost::RefreshCalendarChecks()
{
    m_notifier.Send(CTavrelNotifications::CalendarChanged(m_app.GetCurrentCalendarName()));
}

LockOrderGuard::LockOrderGuard()
{
    CTavrelOrderedLock::SetViolationHandler([](const CTavrelOrderedLock& held, const CTavrelOrderedLock& wanted) {
        ADD_FAILURE() << "lock order: " << device::toUtf8(wanted.GetName()) << " taken while holding "
                      << device::toUtf8(held.GetName());
    });
}

LockOrderGuard::~LockOrderGuard()
{
    CTavrelOrderedLock::SetViolationHandler(nullptr);
}

ControlFixture::ControlFixture() : app(std::make_unique<CTavrelApp>())
{
    host = std::make_unique<StandInHost>(*app, notifier);
    app->SetMainWindow(host.get());
}

ControlFixture::~ControlFixture()
{
    app->SetMainWindow(nullptr);
    app.reset();
}

} // namespace control_test
