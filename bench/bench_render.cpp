// Renders of the calendar view's four modes with a realistic load, through the same Render call
// the view makes for every change (painting into its off-screen picture, rebuilding the regions,
// and the paint that copies the picture to the screen):
//
//   month    120 events over the month, 30 of them with rule icons (files on the device)
//   week     60 events in one week
//   day      15 overlapping events in one day
//   quarter  the three months of the quarter (120 events each) and the day's agenda
//
// The pictures are the sizes of the built-in ones (240 × 12 bars, 240 × 28 titles, a 240 × 228
// background, 16 × 16 icons); they are decoded once, before the timing, as in the program.
// The device is a temporary folder, the clock pinned.

#include "data/TavrelCalendarData.h"
#include "data/TavrelSettings.h"
#include "platform/device/CivilDate.h"
#include "platform/device/DeviceClock.h"
#include "platform/device/DeviceFolder.h"
#include "platform/gfx/PngWriter.h"
#include "platform/gfx/ResourceTable.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "shell/TavrelApp.h"
#include "views/TavrelView.h"
#include "views/TavrelViewHost.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

namespace {

using device::OleDateTime;

class QuietHost : public CTavrelViewHost {
public:
    void SendNotification(const CQoString&) override {}
    bool OpenNonStoreEvent(const CTavrelEvent&) override { return true; }
};

gfx::Surface Framed(int width, int height, gfx::Colour inside)
{
    gfx::Surface picture(width, height, 0xFF00FF);
    picture.fillRect({1, 1, width - 1, height - 1}, inside);
    return picture;
}

// Everything a view needs to render, on a device of its own.
class RenderSetup {
public:
    RenderSetup()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        m_root = pattern;
        device::DeviceFolder::select(m_root);
        device::SystemTime now;
        now.year = 2003;
        now.month = 8;
        now.day = 15;
        now.hour = 10;
        device::DeviceClock::setForTesting(now, device::DeviceClock::Flow::Frozen);

        AddPicture(143, gfx::Surface(240, 228, gfx::rgb(230, 236, 250)));
        AddPicture(144, gfx::Surface(240, 12, gfx::rgb(30, 40, 90)));
        for (int id = 140; id <= 141; ++id)
            AddPicture(id, gfx::Surface(240, 12, gfx::rgb(30, 40, 90)));
        for (int id = 145; id <= 156; ++id)
            AddPicture(id, gfx::Surface(240, 28, gfx::rgb(unsigned(id), 80, 160)));
        for (int id = 200; id <= 250; ++id)
            AddPicture(id, Framed(16, 16, gfx::rgb(unsigned(id - 190), 60, 200)));
        AddPicture(253, Framed(9, 4, gfx::rgb(0, 160, 0)));
        for (int icon = 0; icon < 10; ++icon) {
            const std::filesystem::path file = m_root / "fs" / "Icons" / ("Rule" + std::to_string(icon) + ".png");
            std::filesystem::create_directories(file.parent_path());
            gfx::PngWriter::write(Framed(16, 16, gfx::rgb(200, unsigned(icon * 20), 40)), file);
        }

        desktop = std::make_unique<ui::Desktop>(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual());
        app = std::make_unique<CTavrelApp>();
        app->GetSettings().SetInitialized(false);
        frame.createTopLevel({0, 26, 240, 320}, u"Tavrel");
        view = std::make_unique<CTavrelView>(*app, host);
        view->SetResources(&m_table);
        view->Create(frame, {0, 0, 240, 268});
        desktop->runUntilIdle();
    }

    ~RenderSetup()
    {
        view.reset();
        frame.destroy();
        app.reset();
        desktop.reset();
        device::DeviceClock::resetForTesting();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    void SetEvents(const std::vector<CTavrelEvent>& events)
    {
        {
            std::lock_guard lock(app->GetEventLock());
            CTavrelEvents& window = app->GetCalendarData().GetWindowEvents();
            window.RemoveAll();
            window.SetName(u"200308");
            for (const CTavrelEvent& event : events)
                window.AddEvent(event);
        }
        view->send(VM_REFRESH_EVENTS);
        desktop->runUntilIdle();
    }

    void Show(int mode, int year, int month, int day)
    {
        view->ShowCalendar(mode, false);
        view->SetCurrentDate(year, month, day, true);
        desktop->runUntilIdle();
    }

    std::unique_ptr<ui::Desktop> desktop;
    std::unique_ptr<CTavrelApp> app;
    QuietHost host;
    ui::Window frame;
    std::unique_ptr<CTavrelView> view;

private:
    void AddPicture(int id, const gfx::Surface& picture)
    {
        m_bytes.push_back(std::make_unique<std::vector<std::uint8_t>>(gfx::PngWriter::encode(picture)));
        m_table.add(u"IMAGE", id, *m_bytes.back());
    }

    std::filesystem::path m_root;
    std::vector<std::unique_ptr<std::vector<std::uint8_t>>> m_bytes;
    gfx::ResourceTable m_table;
};

CTavrelEvent MakeEvent(int oid, const OleDateTime& start, const OleDateTime& end, bool ruleIcon)
{
    CQoString name;
    name.Format(u"Appointment %d", oid);
    CQoString icon;
    if (ruleIcon)
        icon.Format(u"\\Icons\\Rule%d.png", oid % 10);
    return CTavrelEvent(start, end, oid, name, icon);
}

// `count` events spread over the days of one month: mostly one to two hours in the working day,
// every ninth one lasting into the next day, every fourth with a rule icon until `withIcons`.
std::vector<CTavrelEvent> MonthOfEvents(int year, int month, int count, int withIcons, int firstOid)
{
    std::mt19937 random(unsigned(year * 100 + month));
    const int days = device::CivilDate::daysInMonth(year, month);
    std::vector<CTavrelEvent> events;
    int icons = 0;
    for (int i = 0; i < count; ++i) {
        const int day = 1 + int(random() % unsigned(days));
        const int hour = 8 + int(random() % 10);
        const int minute = int(random() % 4) * 15;
        const OleDateTime start(year, month, day, hour, minute, 0);
        const OleDateTime end = i % 9 == 0 ? start + device::OleDateTimeSpan(1, 2, 0, 0)
                                           : start + device::OleDateTimeSpan(0, 1 + int(random() % 2), 0, 0);
        const bool ruleIcon = i % 4 == 0 && icons < withIcons;
        icons += ruleIcon ? 1 : 0;
        events.push_back(MakeEvent(firstOid + i, start, end, ruleIcon));
    }
    return events;
}

void RenderLoop(benchmark::State& state, RenderSetup& setup)
{
    for (auto _ : state) {
        setup.view->Render();
        benchmark::DoNotOptimize(setup.view->GetPicture().pixel(120, 100));
    }
}

void BM_RenderMonth(benchmark::State& state)
{
    RenderSetup setup;
    setup.Show(CTavrelReaderView::Monthly, 2003, 8, 15);
    setup.SetEvents(MonthOfEvents(2003, 8, 120, 30, 1));
    RenderLoop(state, setup);
}
BENCHMARK(BM_RenderMonth)->Unit(benchmark::kMicrosecond);

void BM_RenderWeek(benchmark::State& state)
{
    RenderSetup setup;
    setup.Show(CTavrelReaderView::Weekly, 2003, 8, 15);
    std::vector<CTavrelEvent> events;
    std::mt19937 random(7);
    for (int i = 0; i < 60; ++i) {
        const int day = 10 + i % 7; // Sunday 10 to Saturday 16 August 2003
        const OleDateTime start(2003, 8, day, 7 + int(random() % 12), int(random() % 4) * 15, 0);
        events.push_back(MakeEvent(1 + i, start, start + device::OleDateTimeSpan(0, 1, 0, 0), i % 4 == 0));
    }
    setup.SetEvents(events);
    RenderLoop(state, setup);
}
BENCHMARK(BM_RenderWeek)->Unit(benchmark::kMicrosecond);

void BM_RenderDay(benchmark::State& state)
{
    RenderSetup setup;
    setup.Show(CTavrelReaderView::Daily, 2003, 8, 15);
    std::vector<CTavrelEvent> events;
    for (int i = 0; i < 15; ++i) {
        // Overlapping: each starts half an hour after the one before and lasts two hours.
        const OleDateTime start = OleDateTime(2003, 8, 15, 8, 0, 0) + device::OleDateTimeSpan(0, 0, 30 * i, 0);
        events.push_back(MakeEvent(1 + i, start, start + device::OleDateTimeSpan(0, 2, 0, 0), i % 3 == 0));
    }
    setup.SetEvents(events);
    RenderLoop(state, setup);
}
BENCHMARK(BM_RenderDay)->Unit(benchmark::kMicrosecond);

void BM_RenderQuarter(benchmark::State& state)
{
    RenderSetup setup;
    setup.Show(CTavrelReaderView::Quarterly, 2003, 8, 15);
    std::vector<CTavrelEvent> events;
    for (int month = 7; month <= 9; ++month) {
        std::vector<CTavrelEvent> more = MonthOfEvents(2003, month, 120, 30, month * 1000);
        events.insert(events.end(), more.begin(), more.end());
    }
    for (int i = 0; i < 8; ++i) {
        const OleDateTime start(2003, 8, 15, 8 + i, 0, 0);
        events.push_back(MakeEvent(9000 + i, start, start + device::OleDateTimeSpan(0, 1, 0, 0), false));
    }
    setup.SetEvents(events);
    RenderLoop(state, setup);
}
BENCHMARK(BM_RenderQuarter)->Unit(benchmark::kMicrosecond);

} // namespace
