#include "ViewTestSupport.h"

#include "PinnedClock.h"

#include "data/TavrelCalendarData.h"
#include "platform/gfx/PngWriter.h"

#include <cstdlib>
#include <fstream>

namespace views_testing {

gfx::Colour TitleColour(int month) { return gfx::RGB(unsigned(month * 10), 90, 160); }

gfx::Colour IconColour(int resourceId) { return gfx::RGB(unsigned(resourceId - 190), 40, 200); }

namespace {

gfx::Surface Framed(int width, int height, gfx::Colour inside)
{
    gfx::Surface picture(width, height, KeyColour);
    picture.fillRect({1, 1, width - 1, height - 1}, inside);
    return picture;
}

} // namespace

TestPictures::TestPictures(bool withBars)
{
    add(143, gfx::Surface(240, 228, BackgroundColour));
    add(144, gfx::Surface(240, 12, DayBarColour));
    for (int month = 1; month <= 12; ++month)
        add(144 + month, gfx::Surface(240, 28, TitleColour(month)));
    if (withBars) {
        add(140, gfx::Surface(240, 12, TimeBarColour));
        add(141, gfx::Surface(240, 12, WeekBarColour));
    }
    for (int id = 200; id < 248; ++id)
        add(id, Framed(16, 16, IconColour(id)));
    add(250, Framed(16, 16, IconColour(250)));
    gfx::Surface more(9, 4, KeyColour);
    more.fillRect({1, 1, 8, 3}, MoreColour);
    add(253, more);
}

void TestPictures::add(int id, const gfx::Surface& picture)
{
    m_bytes.push_back(std::make_unique<std::vector<std::uint8_t>>(gfx::PngWriter::encode(picture)));
    m_table.add(u"IMAGE", id, *m_bytes.back());
}

void TestPictures::WriteIconFile(const std::filesystem::path& hostPath, gfx::Colour colour, int size)
{
    std::filesystem::create_directories(hostPath.parent_path());
    const std::vector<std::uint8_t> bytes = gfx::PngWriter::encode(Framed(size, size, colour));
    std::ofstream out(hostPath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

CTavrelEvent Appointment(const OleDateTime& start, const OleDateTime& end, const char16_t* name, std::int32_t oid,
                         const char16_t* icon)
{
    if (oid != 0)
        return CTavrelEvent(start, end, oid, name, icon);
    return CTavrelEvent(start, end, CQoString(), name, icon);
}

RenderBench::RenderBench(int month)
{
    icons.LoadBuiltIns(&pictures.table());
    CTavrelAppearance::Files files;
    files.fadeLevel = 0;
    appearance.Load(month, files, &pictures.table());
    weekBar.LoadResource(CTavrelView::WeekBarId, &pictures.table());
}

CTavrelRenderContext RenderBench::Context(int mode)
{
    return CTavrelRenderContext{dc, events, settings, icons, taps, days, layout, ui::WindowHandle{}, today, mode};
}

device::SystemTime ViewTest::DefaultNow() { return testing_support::localTime(2003, 8, 15, 10); }

ViewTest::ViewTest() : desktop(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual())
{
    device::DeviceClock::setForTesting(DefaultNow(), device::DeviceClock::Flow::Frozen);
    app = std::make_unique<CTavrelApp>();
    frame.createTopLevel({0, 26, 240, 320}, u"Tavrel");
}

ViewTest::~ViewTest()
{
    view.reset();
    frame.destroy();
    app.reset();
    device::DeviceClock::resetForTesting();
}

void ViewTest::PinClock(int year, int month, int day, int hour, int minute)
{
    ASSERT_TRUE(device::DeviceClock::setForTesting(testing_support::localTime(year, month, day, hour, minute),
                                                   device::DeviceClock::Flow::Frozen));
}

void ViewTest::CreateView(int mode)
{
    app->GetSettings().SetLastView(mode);
    view = std::make_unique<CTavrelView>(*app, host);
    view->SetResources(resources ? resources : &pictures.table());
    view->SetSkinLoader([this](const CQoString& file) {
        skinsApplied.push_back(device::toUtf8(file.View()));
        return skinLoader ? skinLoader(file) : true;
    });
    ASSERT_TRUE(view->Create(frame, {0, 0, 240, 268}));
    view->setFocus();
    Settle();
    ASSERT_GT(view->GetRenderCount(), 0u) << "the first paint renders";
}

void ViewTest::SetEvents(const std::vector<CTavrelEvent>& events)
{
    {
        std::lock_guard lock(app->GetEventLock());
        CTavrelEvents& window = app->GetCalendarData().GetWindowEvents();
        window.RemoveAll();
        window.SetName(u"test");
        for (const CTavrelEvent& event : events)
            window.AddEvent(event);
    }
    view->send(VM_REFRESH_EVENTS);
    Settle();
}

void ViewTest::ShowDate(int year, int month, int day)
{
    ASSERT_TRUE(view->SetCurrentDate(year, month, day, true));
    Settle();
}

void ViewTest::ShowMode(int mode)
{
    view->ShowCalendar(mode, true);
    Settle();
}

void ViewTest::PenDown(gfx::Point client)
{
    desktop.injectInput(ui::InputEvent::pen(ui::InputEvent::Kind::PenDown, view->toScreen(client)));
    Settle();
}

void ViewTest::PenMove(gfx::Point client)
{
    desktop.injectInput(ui::InputEvent::pen(ui::InputEvent::Kind::PenMove, view->toScreen(client)));
    Settle();
}

void ViewTest::PenUp(gfx::Point client)
{
    desktop.injectInput(ui::InputEvent::pen(ui::InputEvent::Kind::PenUp, view->toScreen(client)));
    Settle();
}

void ViewTest::Wait(unsigned ms)
{
    desktop.time().advanceTo(desktop.now() + ms);
    Settle();
}

void ViewTest::Tap(gfx::Point client, unsigned heldMs)
{
    PenDown(client);
    if (heldMs)
        Wait(heldMs);
    PenUp(client);
}

void ViewTest::Snapshot(const std::string& name) const
{
    if (std::getenv("TAVREL_VIEW_SNAPSHOTS"))
        gfx::PngWriter::write(view->GetPicture().cropped({0, 0, 240, 268}), "/tmp/tavrel-view-" + name + ".png");
}

} // namespace views_testing
