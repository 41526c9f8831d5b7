#pragma once
// What the view tests share: a throw-away device with a pinned clock, a headless desktop on
// virtual time, the application object, a host that records what the view tells it, a stand-in
// frame, and a resource table of small pictures whose colours say which picture a pixel came
// from.

#include "data/TavrelEvent.h"
#include "data/TavrelSettings.h"
#include "platform/device/DeviceClock.h"
#include "platform/gfx/ResourceTable.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/HeadlessBackend.h"
#include "shell/TavrelApp.h"
#include "support/TempDevice.h"
#include "views/TavrelRenderContext.h"
#include "views/TavrelView.h"
#include "views/TavrelViewHost.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace views_testing {

using device::OleDateTime;

// Colours of the test pictures. Each built-in picture is one colour inside (icons keep a magenta
// top-left colour around them, which the views leave out).
inline constexpr gfx::Colour KeyColour = 0xFF00FF;
inline constexpr gfx::Colour DayBarColour = 0x102030;
inline constexpr gfx::Colour BackgroundColour = 0xF0F0F0;
inline constexpr gfx::Colour TimeBarColour = 0x203040;
inline constexpr gfx::Colour WeekBarColour = 0x304050;
inline constexpr gfx::Colour MoreColour = 0x00A000;
gfx::Colour TitleColour(int month);
gfx::Colour IconColour(int resourceId);

// The view's pictures as a resource table of PNG bytes; `withTimeBar` false leaves out 140 and 141.
class TestPictures {
public:
    explicit TestPictures(bool withBars = true);
    const gfx::ResourceTable& table() const { return m_table; }
    // An icon file on the device: 16 × 16 of the colour inside a key-coloured frame.
    static void WriteIconFile(const std::filesystem::path& hostPath, gfx::Colour colour, int size = 16);

private:
    void add(int id, const gfx::Surface& picture);
    std::vector<std::unique_ptr<std::vector<std::uint8_t>>> m_bytes;
    gfx::ResourceTable m_table;
};

class RecordingHost : public CTavrelViewHost {
public:
    void SendNotification(const CQoString& text) override { notifications.push_back(device::toUtf8(text.View())); }
    bool OpenNonStoreEvent(const CTavrelEvent& event) override
    {
        opened.push_back(device::toUtf8(event.GetName().View()));
        return true;
    }
    std::vector<std::string> notifications;
    std::vector<std::string> opened;
};

// A store appointment or an activity for the window collection.
CTavrelEvent Appointment(const OleDateTime& start, const OleDateTime& end, const char16_t* name,
                         std::int32_t oid = 0, const char16_t* icon = u"");

// One painter's render without a window: the surface, the snapshot, the settings and every list a
// painter writes, with the test pictures loaded (fade level 0 unless a test sets one).
struct RenderBench {
    explicit RenderBench(int month = 8);
    CTavrelRenderContext Context(int mode);
    void Add(const CTavrelEvent& event) { events.AddEvent(event); }

    TestPictures pictures;
    gfx::Surface surface{240, 320, gfx::colours::black};
    gfx::Painter dc{surface};
    CTavrelEvents events{u"test"};
    CTavrelViewSettings settings;
    CTavrelEventIcons icons;
    CTavrelTapRegions taps;
    CTavrelTapRegions days;
    CTavrelMonthLayout layout;
    CTavrelAppearance appearance;
    CTavrelImage weekBar;
    CTavrelDay today{2003, 8, 15};
};

class ViewTest : public ::testing::Test {
protected:
    // The clock stands at this time (a Friday) unless a test pins it elsewhere before CreateView.
    static device::SystemTime DefaultNow();

    ViewTest();
    ~ViewTest() override;

    void PinClock(int year, int month, int day, int hour = 10, int minute = 0);
    // Creates the view in the stand-in frame with the test pictures and settles the loop, so the
    // first paint has rendered. The mode is set without a notification by the "LastView" setting.
    void CreateView(int mode = CTavrelReaderView::Monthly);
    // Replaces the window collection and delivers VM_REFRESH_EVENTS.
    void SetEvents(const std::vector<CTavrelEvent>& events);
    void ShowDate(int year, int month, int day);
    void ShowMode(int mode);

    // Pen input at a point of the view (client coordinates), through the desktop's input path.
    void Tap(gfx::Point client, unsigned heldMs = 0);
    void PenDown(gfx::Point client);
    void PenMove(gfx::Point client);
    void PenUp(gfx::Point client);
    void Wait(unsigned ms);
    void Settle() { desktop.runUntilIdle(); }

    gfx::Colour Pixel(int x, int y) const { return view->GetPicture().pixel(x, y); }
    CTavrelDay ShownDay() { return CTavrelDay::Of(view->GetCurrentDate()); }
    // Writes the view's picture to /tmp (for looking at it) when TAVREL_VIEW_SNAPSHOTS is set.
    void Snapshot(const std::string& name) const;

    testing_support::TempDevice device;
    ui::Desktop desktop;
    std::unique_ptr<CTavrelApp> app;
    TestPictures pictures;
    RecordingHost host;
    ui::Window frame;
    std::unique_ptr<CTavrelView> view;
    std::vector<std::string> skinsApplied;
    // What CreateView gives the view instead of the test pictures and the recording skin loader.
    const gfx::ResourceTable* resources = nullptr;
    CTavrelView::SkinLoader skinLoader;
};

} // namespace views_testing
