// The day menu in the running calendar (the application, its frame, view and reader thread on a
// headless desktop, in this process), on a scratch device with December 2026 holding 150
// appointments and one appointment template:
//
//   BM_HoldToMenuPainted        from the tap-and-hold gesture reaching the view (WM_CONTEXTMENU,
//                               after the platform's half second of holding still) to the day
//                               menu painted on the screen: the held date, the templates read
//                               from the registry, the menu built, the frame's command-update
//                               query over its items, the popup measured and drawn
//   BM_TemplateToAppointmentDrawn
//                               from choosing the template in the "New" submenu (the command the
//                               menu sends the frame) to the month view drawn with the new
//                               appointment: the free-hour search, the save to the store, the
//                               reader's fresh pass, VM_REFRESH_EVENTS and the render
//
// The figures are wall-clock times of the whole path (manual time).

#include "data/TavrelNewCommands.h"
#include "data/TavrelSettings.h"
#include "platform/device/DeviceClock.h"
#include "platform/device/DeviceFolder.h"
#include "platform/pim/Application.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/PopupMenu.h"
#include "shell/MainFrame.h"
#include "shell/TavrelApp.h"
#include "templates/TavrelTemplateStore.h"
#include "views/TavrelView.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using device::OleDateTime;

// The calendar started as the program starts it, on a device of its own.
class RunningCalendar {
public:
    RunningCalendar()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-bench-daymenu-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_root = pattern;
        device::DeviceFolder::select(m_root);
        device::SystemTime now;
        now.year = 2026;
        now.month = 12;
        now.day = 8;
        now.hour = 15;
        now.minute = 45;
        device::DeviceClock::setForTesting(now, device::DeviceClock::Flow::Frozen);

        auto store = pim::Application::create();
        if (!store || !store->logon())
            return;
        for (int i = 0; i < 150; ++i) {
            auto item = store->createItem(pim::olAppointmentItem);
            const int day = 1 + i % 31, hour = 8 + i % 10;
            item->setStart(OleDateTime(2026, 12, day, hour, 0, 0));
            item->setEnd(OleDateTime(2026, 12, day, hour + 1, 0, 0));
            item->setSubject(u"Team meeting");
            if (!item->save())
                return;
        }
        CTavrelAppointmentTemplate lunch;
        lunch.subject = u"Lunch";
        lunch.duration = u"45 min";
        lunch.startTime = u"12pm";
        if (!CTavrelTemplateStore().Write(lunch))
            return;

        desktop = std::make_unique<ui::Desktop>(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual());
        app = std::make_unique<CTavrelApp>();
        app->GetSettings().SetInitialized(false);
        app->SetControlPorts(0, 0);
        app->SetNotificationSink([](const CQoString&) {});
        if (!app->InitInstance({}))
            return;
        m_ready = WaitForEvents(150);
    }

    ~RunningCalendar()
    {
        if (app) {
            app->ExitInstance();
            app.reset();
        }
        desktop.reset();
        device::DeviceClock::resetForTesting();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    bool ready() const { return m_ready; }
    CTavrelView& View() { return *app->GetMainFrame()->GetView(); }
    int ShownEvents() { return View().GetEventSnapshot().GetCount(); }

    // Lets the loop and the reader run until the view shows `count` events.
    bool WaitForEvents(int count)
    {
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(30);
        while (Clock::now() < deadline) {
            desktop->runUntilIdle();
            if (app->GetMainFrame() && app->GetMainFrame()->IsReaderPassDrawn() && ShownEvents() == count)
                return true;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return false;
    }

    std::unique_ptr<ui::Desktop> desktop;
    std::unique_ptr<CTavrelApp> app;

private:
    std::filesystem::path m_root;
    bool m_ready = false;
};

void BM_HoldToMenuPainted(benchmark::State& state)
{
    RunningCalendar calendar;
    if (!calendar.ready()) {
        state.SkipWithError("the calendar did not start");
        return;
    }
    CTavrelView& view = calendar.View();
    // The 16th of December 2026 in the month grid.
    const gfx::Point held = view.toScreen(view.GetMonthLayout().cells[17].centre());
    Clock::time_point painted;
    calendar.desktop->setModalObserver([&](ui::Window&) {
        painted = Clock::now(); // observers run once the menu is on the screen
        if (ui::PopupMenu* menu = ui::PopupMenu::active())
            menu->dismiss();
    });
    for (auto _ : state) {
        const Clock::time_point started = Clock::now();
        view.send(ui::WM_CONTEXTMENU, 0, ui::MAKELPARAM(held.x, held.y));
        state.SetIterationTime(std::chrono::duration<double>(painted - started).count());
    }
    calendar.desktop->setModalObserver({});
}
BENCHMARK(BM_HoldToMenuPainted)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_TemplateToAppointmentDrawn(benchmark::State& state)
{
    RunningCalendar calendar;
    if (!calendar.ready()) {
        state.SkipWithError("the calendar did not start");
        return;
    }
    CTavrelView& view = calendar.View();
    const gfx::Point held = view.toScreen(view.GetMonthLayout().cells[17].centre());
    calendar.desktop->setModalObserver([](ui::Window&) {
        if (ui::PopupMenu* menu = ui::PopupMenu::active())
            menu->dismiss();
    });
    view.send(ui::WM_CONTEXTMENU, 0, ui::MAKELPARAM(held.x, held.y)); // holds the 16th
    calendar.desktop->setModalObserver({});
    CMainFrame& frame = *calendar.app->GetMainFrame();
    for (auto _ : state) {
        const int before = calendar.ShownEvents();
        const unsigned renders = view.GetRenderCount();
        const Clock::time_point started = Clock::now();
        frame.send(ui::WM_COMMAND, ui::MAKEWPARAM(unsigned(ID_NEW_FIRST_TEMPLATE), 0), 0);
        if (!calendar.WaitForEvents(before + 1) || view.GetRenderCount() == renders) {
            state.SkipWithError("the appointment was not drawn");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - started).count());
    }
}
// Each run adds an appointment to the month; a few dozen keep the month near its starting size.
BENCHMARK(BM_TemplateToAppointmentDrawn)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
