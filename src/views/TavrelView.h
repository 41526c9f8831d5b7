#pragma once
// CTavrelView: the calendar view, the main frame's one child window. It shows the current date in
// one of four modes (daily, weekly, monthly, quarterly), moves through the calendar by commands,
// keys, taps and its own messages, and tells control applications (through its host) about every
// change of mode and date.
//
// Drawing: everything is drawn into an off-screen picture of the screen's size by Render, which
// also rebuilds the tap regions and day regions of what it drew; paint only copies the picture.
// A render happens when something changed: the mode, the date, the appearance, the events (the
// reader's VM_REFRESH_EVENTS with a collection that differs from the view's snapshot), the fade
// level (250 ms after its first change), or the day (checked every 10 seconds).
//
// Input: a tap first looks for events drawn under the point (in the daily mode they open at once,
// in the weekly and monthly modes they are offered in a menu), then goes to the first tap region
// that contains it, which posts its view message. So navigation by tapping and painting share
// nothing but the regions.
//
// Threads: everything runs on the user-interface thread except GetCurrentDate, GetViewMode and
// PostRefreshEvents, which the reader thread calls. The current date is guarded by the date lock;
// SetCurrentDate holds it until the new date's pictures are loaded and drawn, so a reader asking
// meanwhile gets the new date only when it is complete. The event snapshot is the view's own copy
// and only the user-interface thread touches it.
//
// Creating and driving it (the frame):
//
//   CTavrelView view(app, host);            // app: CTavrelViewSource, host: CTavrelViewHost
//   view.SetSkinLoader([](const CQoString& file) { return LoadSkin(file); });
//   view.Create(frame, frame.viewRect());   // first run: default skin; mode from "LastView"
//   frame.setView(&view);                   // commands reach the view first
//   app.SetMainWindow(&frameAsMainWindow);  // whose GetReaderView() returns &view

#include "assets/ResourceIds.h"
#include "common/QoString.h"
#include "data/TavrelEvents.h"
#include "data/TavrelReaderView.h"
#include "platform/device/CriticalSection.h"
#include "platform/gfx/ResourceTable.h"
#include "platform/gfx/Surface.h"
#include "platform/ui/Window.h"
#include "views/TavrelAppearance.h"
#include "views/TavrelDay.h"
#include "views/TavrelEventIcons.h"
#include "views/TavrelMonthLayout.h"
#include "views/TavrelTapRegions.h"
#include "views/TavrelTapTracker.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CTavrelViewSource;
class CTavrelViewHost;

namespace ui {
class Menu;
class Slider;
}

class CTavrelView : public ui::Window, public CTavrelReaderView {
public:
    // Applies a skin file (its pictures, fade levels and fonts go to the settings); false when
    // the file could not be applied.
    using SkinLoader = std::function<bool(const CQoString& skinFile)>;

    static constexpr const char16_t* DefaultSkinFile = u"\\My Documents\\CalendarSkinDefault\\Default.TavrelSkin";
    static constexpr gfx::Colour BlankColour = 0xFFC0C0; // the picture before its first render
    static constexpr int TimeBarId = IDB_TIMEBAR;
    static constexpr int WeekBarId = IDB_WEEKBAR;

    CTavrelView(CTavrelViewSource& source, CTavrelViewHost& host);
    ~CTavrelView() override;

    // Before Create: how the first run applies the default skin, and where the built-in pictures
    // come from (null: the program's own resources).
    void SetSkinLoader(SkinLoader loader) { m_loadSkin = std::move(loader); }
    void SetResources(const gfx::ResourceTable* module) { m_resources = module; }

    // Creates the window as a child of the frame at `rect` (the frame's view rectangle). On the
    // first run ("Initialized" non-zero) it clears that setting and applies the default skin;
    // then it takes its mode from "LastView".
    bool Create(ui::Window& frame, const gfx::Rect& rect);

    // --- Mode and date --------------------------------------------------------------------------
    // Switches to mode 0-3: notifies "OnViewChanged:<name>" and, with `render`, reloads the
    // appearance and renders. False, with nothing done, for the mode in force; false with a trace
    // line for a mode outside 0-3.
    bool ShowCalendar(int mode, bool render);
    // Sets the current date to the day at 00:00:00, the day clamped to the month's length, and
    // notifies "OnDateChanged:" with the quoted date; with `reload` the month's appearance is
    // reloaded and the view rendered, all under the date lock. False, with nothing changed, for a
    // month outside 1-12 or a year outside 100-9999.
    bool SetCurrentDate(int year, int month, int day, bool reload);
    device::OleDateTime GetCurrentDate() override;
    int GetViewMode() override { return m_mode.load(); }
    // Posts VM_REFRESH_EVENTS to the view; any thread.
    void PostRefreshEvents() override;
    // "Daily", "Weekly", "Monthly", "Quarterly"; "Invalid" for any other mode.
    static const char16_t* ModeName(int mode);

    // One step forward or back in the current mode (a day, a week, a month, a quarter).
    void Next();
    void Previous();
    // The clock's day; the weekly and monthly modes change to the daily one.
    void Today();

    // --- Drawing --------------------------------------------------------------------------------
    // Loads the current month's background, fade level, title and day bar (each falling back to
    // its built-in picture) and the time and week bars; moves the fade slider; with `render`,
    // renders.
    void ReloadAppearance(bool render);
    // Draws the current mode into the off-screen picture, rebuilding the regions, and shows it.
    // Nothing happens before the window exists.
    void Render();

    // --- Fade level -----------------------------------------------------------------------------
    // Shows the fade slider over the title area, or hides it when it is shown.
    void ToggleFadeSlider();
    bool IsFadeSliderShown() const { return m_sliderShown; }
    // A new fade level for the shown month (what the slider reports): stored for the current
    // calendar at once, drawn 250 ms after the first of a series of changes.
    void SetFadeLevel(int level);
    int GetFadeLevel() const { return m_fadeLevel; }
    // Whether "Fade..." applies: the store's calendars and registered calendars share the fade
    // levels of the settings; a remote calendar's are its own document's.
    bool IsFadeCommandEnabled();

    // --- Background -----------------------------------------------------------------------------
    enum class BackgroundChoice { Set, Unreadable, NotChangeable };
    // Makes the picture file the background of the current date's month for the current calendar
    // and draws it. Unreadable: the file does not decode; NotChangeable: the current calendar's
    // pictures are its own document's. Either way nothing changes.
    BackgroundChoice SetBackgroundPicture(const CQoString& path);

    // --- The day menu ---------------------------------------------------------------------------
    // The label of the "New" submenu (the frame's string 65000); "New" until it is set.
    void SetNewMenuText(const CQoString& text) { m_newMenuText = text; }
    // The date-time of the last tap-and-hold on a day: the day at 00:00, or in the daily and
    // weekly modes the hour row held (the rows' top is hour 0, their middle hour 12). The "New"
    // commands start there. Until the first hold it is the day the view started on.
    const device::OleDateTime& GetHeldDate() const { return m_heldDate; }
    // What a tap-and-hold at the client point offers, with the held date set: on a day the "New"
    // submenu of the current calendar (templates and built-in items in "<Personal>", activity
    // kinds in a registered calendar) and "Set Background...", "Set Skin...", "Set Icon
    // Rules..."; on a blank cell of the monthly mode "Previous Month" or "Next Month". None when
    // the point offers nothing.
    std::optional<ui::Menu> PrepareDayMenu(gfx::Point client);

    // --- Events ---------------------------------------------------------------------------------
    // Opens an event: a store appointment in the appointment editor, any other event through the
    // host. False when the store cannot give the appointment.
    bool OpenEvent(const CTavrelEvent& event);
    // The day whose day region holds the client point, if any (the tap-and-hold day menu's day).
    std::optional<CTavrelDay> DayAt(gfx::Point client) const;

    // --- What the last render left (for the frame, the day menu and tests) ------------------------
    const gfx::Surface& GetPicture() const { return m_picture; }
    const CTavrelTapRegions& GetTapRegions() const { return m_taps; }
    const CTavrelTapRegions& GetDayRegions() const { return m_days; }
    const CTavrelMonthLayout& GetMonthLayout() const { return m_layout; }
    const CTavrelEvents& GetEventSnapshot() const { return m_snapshot; }
    CTavrelEventIcons& GetEventIcons() { return m_icons; }
    unsigned GetRenderCount() const { return m_renderCount; }

    bool acceptsFocus() const override { return true; }
    ui::LResult handleMessage(std::uint32_t message, ui::WParam wParam, ui::LParam lParam) override;

protected:
    bool onCreate() override;
    void onDestroy() override;
    void onPaint(gfx::Painter& painter) override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;
    bool onUpdateCommand(ui::CommandUpdate& update) override;
    bool onScroll(std::uint32_t message, int code, int position, ui::WindowHandle source) override;
    void onPenDown(gfx::Point point) override;
    void onPenUp(gfx::Point point) override;
    void onCancelMode() override;
    bool onKeyDown(int virtualKey) override;
    void onTimer(unsigned id) override;
    bool onContextMenu(gfx::Point screenPoint) override;

private:
    // View messages.
    void RefreshEvents();
    void ShowQuarterly(int year, int monthDay);
    void ShowMonthly(int year, int monthDay);
    void ShowDayOrWeek(int target, int year, int monthDay);
    void SelectDay(int year, int monthDay);
    void OpenEventMessage(ui::LParam event);
    void EventMenuMessage(ui::WParam point, ui::LParam event);

    // Taps and menus.
    void OnTap(gfx::Point point);
    void ShowEventMenu(std::vector<CTavrelEvent> events, gfx::Point bottomLeft);
    void ChooseEventMenuItem(int id);
    void ShowMonthMenu();
    void ChooseMonth(int month);
    // The day menu's main menu; the "<Personal>" templates and built-in items only when
    // `withPersonalNew`.
    ui::Menu BuildDayMenu(bool withPersonalNew);
    void AppendPersonalNew(ui::Menu& menu);
    // The snapshot's event at this address (as a region's lParam carries it), if it is still there.
    const CTavrelEvent* FindInSnapshot(ui::LParam event);

    // Drawing.
    void RenderPicture();
    const CTavrelAppearance& LoadMonth(int month);
    const CTavrelAppearance& CurrentAppearance();
    void PlaceFadeSlider();
    void CheckDayChange();

    CTavrelViewSource& m_source;
    CTavrelViewHost& m_host;
    SkinLoader m_loadSkin;
    const gfx::ResourceTable* m_resources = nullptr;

    std::atomic<int> m_mode{Monthly};
    CTavrelImage m_timeBar;
    CTavrelImage m_weekBar;
    CTavrelEventIcons m_icons;
    bool m_fadeTimerPending = false;
    std::vector<CTavrelEvent> m_eventMenu; // copies: a menu's loop may see the snapshot replaced
    bool m_sliderShown = false;
    std::unique_ptr<ui::Slider> m_slider;
    CTavrelTapRegions m_taps;
    CTavrelTapRegions m_days;
    device::CriticalSection m_dateLock;
    CTavrelEvents m_snapshot;
    CTavrelMonthLayout m_layout;
    device::OleDateTime m_currentDate;
    // The pictures of the months of one quarter, one slot per position in the quarter, so that a
    // quarterly render finds its three months decoded and a monthly step costs one month.
    std::array<CTavrelAppearance, 3> m_appearances;
    gfx::Surface m_picture;
    CTavrelTapTracker m_tap;
    int m_fadeLevel = CTavrelAppearance::DefaultFadeLevel;

    std::atomic<std::uint32_t> m_postHandle{0}; // the window's handle for the reader's posts
    bool m_painted = false;
    CTavrelDay m_rememberedToday;
    unsigned m_renderCount = 0;
    device::OleDateTime m_heldDate;
    CQoString m_newMenuText = u"New";
};
