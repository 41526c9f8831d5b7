#include "views/TavrelView.h"

#include "common/QoLog.h"
#include "data/TavrelCalendarAppearance.h"
#include "data/TavrelCalendarData.h"
#include "data/TavrelNewCommands.h"
#include "data/TavrelSettings.h"
#include "platform/device/LocaleNames.h"
#include "platform/gfx/Painter.h"
#include "platform/pim/Application.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/Slider.h"
#include "views/TavrelDayPainter.h"
#include "views/TavrelEventText.h"
#include "views/TavrelMonthPainter.h"
#include "views/TavrelQuarterPainter.h"
#include "views/TavrelRenderContext.h"
#include "views/TavrelViewHost.h"
#include "views/TavrelViewMessages.h"
#include "views/TavrelViewSettings.h"
#include "views/TavrelViewSource.h"
#include "views/TavrelWeekPainter.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr const char16_t* SliderFailure =
    u"Unable to create slider control.  Please contact technical support\r\nat www.orvix.com/support.";

// A menu item's text shows "&" as it is.
device::WideString MenuText(const CQoString& text)
{
    device::WideString escaped;
    for (char16_t c : text.View()) {
        if (c == u'&')
            escaped.push_back(u'&');
        escaped.push_back(c);
    }
    return escaped;
}

} // namespace

CTavrelView::CTavrelView(CTavrelViewSource& source, CTavrelViewHost& host)
    : m_source(source), m_host(host), m_currentDate(device::OleDateTime::GetCurrentTime()),
      m_heldDate(CTavrelDay::Of(m_currentDate).Start())
{
}

CTavrelView::~CTavrelView() { destroy(); }

const char16_t* CTavrelView::ModeName(int mode)
{
    switch (mode) {
    case Daily:
        return u"Daily";
    case Weekly:
        return u"Weekly";
    case Monthly:
        return u"Monthly";
    case Quarterly:
        return u"Quarterly";
    default:
        return u"Invalid";
    }
}

// --- Life -----------------------------------------------------------------------------------------

bool CTavrelView::Create(ui::Window& frame, const gfx::Rect& rect) { return create(&frame, rect, u"", 0, true); }

bool CTavrelView::onCreate()
{
    m_postHandle.store(handle().value);
    m_picture = gfx::Surface(ui::Desktop::screenWidth, ui::Desktop::screenHeight, BlankColour);
    m_icons.LoadBuiltIns(m_resources);

    CTavrelSettings& settings = m_source.GetSettings();
    if (settings.GetInitialized()) {
        settings.SetInitialized(false);
        if (m_loadSkin)
            m_loadSkin(DefaultSkinFile);
    }
    const int lastView = settings.GetLastView();
    m_mode.store(lastView >= Daily && lastView <= Quarterly ? lastView : Monthly);
    return true;
}

void CTavrelView::onDestroy()
{
    m_postHandle.store(0);
    killTimer(TIMER_FADE);
    killTimer(TIMER_DAY_CHANGE);
    m_fadeTimerPending = false;
}

void CTavrelView::PostRefreshEvents()
{
    const ui::WindowHandle target{m_postHandle.load()};
    if (ui::Desktop* desktop = ui::Desktop::instance(); desktop && target)
        desktop->post(target, VM_REFRESH_EVENTS);
}

// --- Mode and date ----------------------------------------------------------------------------------

bool CTavrelView::ShowCalendar(int mode, bool render)
{
    if (mode == m_mode.load())
        return false;
    if (mode < Daily || mode > Quarterly) {
        CQoLog::LogWithDebugOutput(u"CTavrelView::ShowCalendar() Invalid view mode specified\n");
        return false;
    }
    m_host.SendNotification(CQoString(u"OnViewChanged:") + ModeName(mode));
    m_mode.store(mode);
    m_source.RequestRefresh(); // the reader loads the new mode's period at once
    if (render)
        ReloadAppearance(true);
    return true;
}

bool CTavrelView::SetCurrentDate(int year, int month, int day, bool reload)
{
    if (!CTavrelCalendar::IsValidMonth(month) || year < 100 || year > 9999)
        return false;
    device::ScopedLock lock(m_dateLock);
    m_currentDate = CTavrelDay(year, month, day).Clamped().Start();
    m_source.RequestRefresh();
    CQoString notification;
    notification.Format(u"OnDateChanged:%s", CQoString::Quote(m_currentDate.Format().c_str()).GetString());
    m_host.SendNotification(notification);
    if (reload)
        ReloadAppearance(true);
    return true;
}

device::OleDateTime CTavrelView::GetCurrentDate()
{
    device::ScopedLock lock(m_dateLock);
    return m_currentDate;
}

void CTavrelView::Next()
{
    const CTavrelDay next = CTavrelDay::Of(GetCurrentDate()).Next(m_mode.load());
    SetCurrentDate(next.year, next.month, next.day, true);
}

void CTavrelView::Previous()
{
    const CTavrelDay previous = CTavrelDay::Of(GetCurrentDate()).Previous(m_mode.load());
    SetCurrentDate(previous.year, previous.month, previous.day, true);
}

void CTavrelView::Today()
{
    const CTavrelDay today = CTavrelDay::Of(device::OleDateTime::GetCurrentTime());
    const int mode = m_mode.load();
    if (mode == Weekly || mode == Monthly)
        ShowCalendar(Daily, false);
    SetCurrentDate(today.year, today.month, today.day, true);
}

// --- Appearance and drawing -------------------------------------------------------------------------

const CTavrelAppearance& CTavrelView::LoadMonth(int month)
{
    CTavrelAppearance::Files files;
    CTavrelCalendarAppearance& appearance = m_source.GetAppearance();
    files.background = appearance.GetBackground(month);
    files.fadeLevel = appearance.GetTransparency(month);
    files.monthTitle = appearance.GetMonthTitle(month);
    files.dayBar = appearance.GetDayBar(month);
    CTavrelAppearance& slot = m_appearances[std::size_t((month - 1) % 3)];
    slot.Load(month, files, m_resources);
    return slot;
}

const CTavrelAppearance& CTavrelView::CurrentAppearance()
{
    const int month = GetCurrentDate().GetMonth();
    const CTavrelAppearance& slot = m_appearances[std::size_t((month - 1) % 3)];
    if (slot.GetMonth() == month)
        return slot;
    const CTavrelAppearance& loaded = LoadMonth(month);
    m_fadeLevel = loaded.GetFadeLevel();
    return loaded;
}

void CTavrelView::ReloadAppearance(bool render)
{
    // The fade level held is the current month's, the one the slider changes (a quarterly
    // render loads its other months' levels for drawing only).
    m_fadeLevel = LoadMonth(GetCurrentDate().GetMonth()).GetFadeLevel();
    if (!m_timeBar.LoadResource(TimeBarId, m_resources))
        CQoLog::LogWithDebugOutput(u"Error reading timebar resource\n");
    if (!m_weekBar.LoadResource(WeekBarId, m_resources))
        CQoLog::LogWithDebugOutput(u"Error reading weekbar resource\n");
    if (m_slider)
        m_slider->setPosition(m_fadeLevel);
    if (render)
        Render();
}

void CTavrelView::Render()
{
    if (!exists() || m_picture.isEmpty())
        return;
    RenderPicture();
    // The title area moves with the mode; a shown slider stays over it.
    if (m_sliderShown)
        PlaceFadeSlider();
    invalidate();
    update();
}

void CTavrelView::RenderPicture()
{
    ++m_renderCount;
    m_taps.Clear();
    m_days.Clear();
    m_layout.Clear();
    // Bounds say where this render drew each event; an event it does not draw is found nowhere.
    m_snapshot.ForEach([](CTavrelEvent& event) { event.SetBounds({}); });
    m_icons.GetCache().BeginRender();

    const CTavrelViewSettings settings = CTavrelViewSettings::Read(m_source.GetSettings());
    gfx::Painter dc(m_picture);
    const gfx::Rect area = clientRect();
    dc.setClipRect(area);
    const int mode = m_mode.load();
    CTavrelRenderContext context{dc,       m_snapshot, settings, m_icons,
                                 m_taps,   m_days,     m_layout, handle(),
                                 CTavrelDay::Of(device::OleDateTime::GetCurrentTime()), mode};
    const CTavrelDay date = CTavrelDay::Of(GetCurrentDate());
    switch (mode) {
    case Daily:
        CTavrelDayPainter(context, CurrentAppearance(), m_weekBar).Paint(area, date);
        break;
    case Weekly:
        CTavrelWeekPainter(context, CurrentAppearance()).Paint(area, date);
        break;
    case Monthly:
        dc.fillRect(area, gfx::colours::white);
        CTavrelMonthPainter(context, CurrentAppearance()).Paint(area, date, true);
        break;
    case Quarterly:
        CTavrelQuarterPainter(context, [this](int month) -> const CTavrelAppearance& { return LoadMonth(month); })
            .Paint(area, date);
        break;
    default:
        break;
    }
}

void CTavrelView::onPaint(gfx::Painter& painter)
{
    if (!m_painted) {
        m_painted = true;
        m_rememberedToday = CTavrelDay::Of(device::OleDateTime::GetCurrentTime());
        setTimer(TIMER_DAY_CHANGE, DayChangeTimerMs);
        ReloadAppearance(false);
        RenderPicture(); // this paint shows it
    }
    const gfx::Rect client = clientRect();
    painter.bitBlt(0, 0, client.width(), client.height(), m_picture, 0, 0);
}

// --- Fade level ---------------------------------------------------------------------------------------

void CTavrelView::PlaceFadeSlider()
{
    if (m_slider && !m_layout.titleArea.isEmpty())
        m_slider->setRect(m_layout.titleArea);
}

void CTavrelView::ToggleFadeSlider()
{
    if (!m_slider) {
        auto slider = std::make_unique<ui::Slider>();
        if (!slider->create(this, m_layout.titleArea, u"", IDC_FADE_SLIDER, false)) {
            ui::messageBox(this, SliderFailure, u"Tavrel", ui::MB_OK | ui::MB_ICONERROR);
            return;
        }
        slider->setRange(0, 100);
        slider->setPageSize(5);
        m_slider = std::move(slider);
    }
    if (m_sliderShown) {
        m_slider->hide();
        m_sliderShown = false;
    } else {
        PlaceFadeSlider();
        m_slider->setPosition(m_fadeLevel);
        m_slider->show();
        m_sliderShown = true;
    }
}

void CTavrelView::SetFadeLevel(int level)
{
    level = std::clamp(level, 0, 100);
    m_fadeLevel = level;
    const int month = GetCurrentDate().GetMonth();
    m_source.GetAppearance().SetTransparency(month, level);
    CTavrelAppearance& slot = m_appearances[std::size_t((month - 1) % 3)];
    if (slot.GetMonth() == month)
        slot.SetFadeLevel(level);
    if (!m_fadeTimerPending) {
        setTimer(TIMER_FADE, FadeTimerMs);
        m_fadeTimerPending = true;
    }
}

CTavrelView::BackgroundChoice CTavrelView::SetBackgroundPicture(const CQoString& path)
{
    CTavrelImage picture;
    if (path.IsEmpty() || !picture.LoadFile(path.GetString()))
        return BackgroundChoice::Unreadable;
    const int month = GetCurrentDate().GetMonth();
    if (!m_source.GetAppearance().SetBackground(month, path))
        return BackgroundChoice::NotChangeable;
    m_fadeLevel = LoadMonth(month).GetFadeLevel();
    Render();
    return BackgroundChoice::Set;
}

bool CTavrelView::IsFadeCommandEnabled()
{
    CTavrelCalendarData& data = m_source.GetCalendarData();
    const CQoString current = data.GetCurrentCalendarName();
    if (CTavrelCalendarData::IsPersonal(current) || CTavrelCalendarData::IsCombined(current))
        return true;
    std::lock_guard calendars(data.GetCalendarListLock());
    for (const auto& calendar : data.GetRegisteredCalendars())
        if (calendar->GetName().CompareNoCase(current) == 0)
            return true;
    return false;
}

// --- Timers ---------------------------------------------------------------------------------------------

void CTavrelView::onTimer(unsigned id)
{
    if (id == TIMER_FADE) {
        Render();
        killTimer(TIMER_FADE);
        m_fadeTimerPending = false;
    } else if (id == TIMER_DAY_CHANGE) {
        CheckDayChange();
    }
}

void CTavrelView::CheckDayChange()
{
    const CTavrelDay today = CTavrelDay::Of(device::OleDateTime::GetCurrentTime());
    if (today == m_rememberedToday)
        return;
    const CTavrelDay shown = CTavrelDay::Of(GetCurrentDate());
    if (shown == m_rememberedToday)
        SetCurrentDate(shown.year, shown.month, shown.day, true); // tells control applications again
    else
        Render(); // the today marks move
    m_rememberedToday = today;
}

// --- Messages --------------------------------------------------------------------------------------------

ui::LResult CTavrelView::handleMessage(std::uint32_t message, ui::WParam wParam, ui::LParam lParam)
{
    const int year = int(wParam);
    const int monthDay = int(lParam);
    switch (message) {
    case VM_REFRESH_EVENTS:
        RefreshEvents();
        return 0;
    case VM_SHOW_QUARTERLY:
        ShowQuarterly(year, monthDay);
        return 0;
    case VM_SHOW_MONTHLY:
        ShowMonthly(year, monthDay);
        return 0;
    case VM_SHOW_WEEKLY:
        ShowDayOrWeek(Weekly, year, monthDay);
        return 0;
    case VM_SHOW_DAILY:
        ShowDayOrWeek(Daily, year, monthDay);
        return 0;
    case VM_SELECT_DAY:
        SelectDay(year, monthDay);
        return 0;
    case VM_OPEN_EVENT:
        OpenEventMessage(lParam);
        return 0;
    case VM_EVENT_MENU:
        EventMenuMessage(wParam, lParam);
        return 0;
    case VM_PREVIOUS:
        Previous();
        return 0;
    case VM_NEXT:
        Next();
        return 0;
    default:
        return Window::handleMessage(message, wParam, lParam);
    }
}

void CTavrelView::RefreshEvents()
{
    bool changed = false;
    {
        CTavrelCalendarData& data = m_source.GetCalendarData();
        std::lock_guard events(data.GetEventLock());
        const CTavrelEvents& window = data.GetWindowEvents();
        if (!window.IsSameAs(m_snapshot)) {
            m_snapshot.Assign(window);
            changed = true;
        }
    }
    if (changed)
        Render();
}

void CTavrelView::ShowQuarterly(int year, int monthDay)
{
    const int month = monthDay / 100;
    const CTavrelDay current = CTavrelDay::Of(GetCurrentDate());
    if (year != current.year || month != current.month)
        SetCurrentDate(year, month, current.day, false);
    if (m_mode.load() == Quarterly)
        ReloadAppearance(true);
    else
        ShowCalendar(Quarterly, true);
}

void CTavrelView::ShowMonthly(int year, int monthDay)
{
    if (m_mode.load() == Monthly) {
        ShowMonthMenu();
        return;
    }
    const int month = monthDay / 100;
    const CTavrelDay current = CTavrelDay::Of(GetCurrentDate());
    if (year != current.year || month != current.month)
        SetCurrentDate(year, month, current.day, false);
    ShowCalendar(Monthly, true);
}

void CTavrelView::ShowDayOrWeek(int target, int year, int monthDay)
{
    const CTavrelDay wanted(year, monthDay / 100, monthDay % 100);
    if (!(wanted == CTavrelDay::Of(GetCurrentDate())))
        SetCurrentDate(wanted.year, wanted.month, wanted.day, false);
    if (m_mode.load() == target)
        ReloadAppearance(true);
    else
        ShowCalendar(target, true);
}

void CTavrelView::SelectDay(int year, int monthDay)
{
    const CTavrelDay wanted(year, monthDay / 100, monthDay % 100);
    if (wanted == CTavrelDay::Of(GetCurrentDate()))
        ShowDayOrWeek(Daily, year, monthDay); // a second tap on the selected day opens it
    else
        SetCurrentDate(wanted.year, wanted.month, wanted.day, true);
}

const CTavrelEvent* CTavrelView::FindInSnapshot(ui::LParam event)
{
    const CTavrelEvent* found = nullptr;
    m_snapshot.ForEach([&](const CTavrelEvent& candidate) {
        if (!found && EventParameter(&candidate) == event)
            found = &candidate;
    });
    return found;
}

void CTavrelView::OpenEventMessage(ui::LParam event)
{
    if (const CTavrelEvent* found = FindInSnapshot(event)) {
        const CTavrelEvent copy = *found; // the editor's loop may replace the snapshot
        OpenEvent(copy);
    }
}

void CTavrelView::EventMenuMessage(ui::WParam point, ui::LParam event)
{
    if (const CTavrelEvent* found = FindInSnapshot(event))
        ShowEventMenu({*found}, {std::int16_t(ui::LOWORD(point)), std::int16_t(ui::HIWORD(point))});
}

bool CTavrelView::OpenEvent(const CTavrelEvent& event)
{
    if (event.GetOID() == 0)
        return m_host.OpenNonStoreEvent(event);
    pim::Application* outlook = m_source.GetOutlook();
    if (!outlook)
        return false;
    std::unique_ptr<pim::Appointment> appointment = outlook->getItemFromOid(std::uint32_t(event.GetOID()));
    if (!appointment)
        return false;
    const bool shown = appointment->display();
    m_source.RequestRefresh(); // show what the editor changed without waiting for the reader's pause
    return shown;
}

std::optional<CTavrelDay> CTavrelView::DayAt(gfx::Point client) const
{
    const TapRegion* region = m_days.Find(client);
    if (!region)
        return std::nullopt;
    const int monthDay = int(region->GetLParam());
    return CTavrelDay(int(region->GetWParam()), monthDay / 100, monthDay % 100);
}

// --- Input ------------------------------------------------------------------------------------------------

void CTavrelView::onPenDown(gfx::Point point)
{
    m_tap.PenDown(desktop() ? desktop()->tickCount() : 0, point);
}

void CTavrelView::onPenUp(gfx::Point point)
{
    if (m_tap.PenUp(desktop() ? desktop()->tickCount() : 0, point))
        OnTap(point);
}

void CTavrelView::onCancelMode() { m_tap.Cancel(); }

void CTavrelView::OnTap(gfx::Point point)
{
    if (m_sliderShown) {
        m_slider->hide();
        m_sliderShown = false;
        return;
    }

    const int mode = m_mode.load();
    std::vector<ui::LParam> opened; // events this tap opened already
    if (mode != Quarterly) {
        const CTavrelDay date = CTavrelDay::Of(GetCurrentDate());
        device::OleDateTime from = date.Start();
        device::OleDateTime to = date.End();
        if (mode == Weekly) {
            from = CTavrelWeekPainter::WeekStart(date);
            to = CTavrelDay::Of(from + device::OleDateTimeSpan(6, 0, 0, 0)).End();
        } else if (mode == Monthly) {
            from = CTavrelDay(date.year, date.month, 1).Start();
            to = CTavrelDay(date.year, date.month, CTavrelDay::DaysInMonth(date.year, date.month)).End();
        }
        std::vector<CTavrelEvent> hits;
        std::vector<ui::LParam> hitAddresses;
        for (CTavrelEvent* event = m_snapshot.FindFirst(from, to); event; event = m_snapshot.FindNext(from, to))
            if (event->GetBounds().contains(point)) {
                hits.push_back(*event);
                hitAddresses.push_back(EventParameter(event));
            }
        if (mode == Daily) {
            for (const CTavrelEvent& event : hits)
                OpenEvent(event);
            opened = std::move(hitAddresses);
        } else if (!hits.empty()) {
            const gfx::Point anchor = hits.back().GetBounds().centre();
            ShowEventMenu(std::move(hits), anchor);
            return;
        }
    }

    const TapRegion* region = m_taps.Find(point);
    if (!region)
        return;
    // An event the tap has just opened by its mark is not opened a second time by its box.
    if (region->GetMessage() == VM_OPEN_EVENT
        && std::find(opened.begin(), opened.end(), region->GetLParam()) != opened.end())
        return;
    region->HitTest(point);
}

bool CTavrelView::onKeyDown(int virtualKey)
{
    const int mode = m_mode.load();
    switch (virtualKey) {
    case ui::VK_PRIOR:
    case ui::VK_LEFT:
        Previous();
        return true;
    case ui::VK_NEXT:
    case ui::VK_RIGHT:
        Next();
        return true;
    case ui::VK_UP:
        ShowCalendar((mode + 3) % 4, true); // daily → quarterly → monthly → weekly → daily
        return true;
    case ui::VK_DOWN:
        ShowCalendar((mode + 1) % 4, true);
        return true;
    default:
        return false;
    }
}

// --- Menus --------------------------------------------------------------------------------------------------

void CTavrelView::ShowEventMenu(std::vector<CTavrelEvent> events, gfx::Point bottomLeft)
{
    const std::size_t limit = ID_EVENT_MENU_LAST - ID_EVENT_MENU_FIRST + 1;
    if (events.size() > limit)
        events.resize(limit);
    m_eventMenu = std::move(events);
    ui::Menu menu;
    for (std::size_t i = 0; i < m_eventMenu.size(); ++i)
        menu.append(MenuText(CTavrelEventText::MenuLine(m_eventMenu[i])), ID_EVENT_MENU_FIRST + int(i));
    const int chosen = ui::PopupMenu::track(menu, ui::TPM_LEFTALIGN | ui::TPM_BOTTOMALIGN | ui::TPM_RETURNCMD,
                                            toScreen(bottomLeft), this);
    if (chosen)
        ChooseEventMenuItem(chosen);
}

void CTavrelView::ChooseEventMenuItem(int id)
{
    const std::size_t index = std::size_t(id - ID_EVENT_MENU_FIRST);
    if (id < ID_EVENT_MENU_FIRST || index >= m_eventMenu.size())
        return;
    const CTavrelEvent event = m_eventMenu[index];
    m_eventMenu.clear();
    OpenEvent(event);
}

void CTavrelView::ShowMonthMenu()
{
    const CTavrelDay current = CTavrelDay::Of(GetCurrentDate());
    ui::Menu menu;
    for (int month = 1; month <= 12; ++month) {
        CQoString text;
        text.Format(u"%s %d", device::WideString(device::LocaleNames::monthName(month)).c_str(), current.year);
        menu.append(text.View(), ID_MONTH_MENU_FIRST + month - 1, month == current.month ? ui::MF_CHECKED : ui::MF_STRING);
    }
    const gfx::Rect& title = m_layout.titleArea;
    const int chosen = ui::PopupMenu::track(menu, ui::TPM_LEFTALIGN | ui::TPM_TOPALIGN | ui::TPM_RETURNCMD,
                                            toScreen({title.left, title.bottom}), this);
    if (chosen >= ID_MONTH_MENU_FIRST && chosen <= ID_MONTH_MENU_LAST)
        ChooseMonth(chosen - ID_MONTH_MENU_FIRST + 1);
}

void CTavrelView::ChooseMonth(int month)
{
    const CTavrelDay current = CTavrelDay::Of(GetCurrentDate());
    if (month == current.month)
        return;
    SetCurrentDate(current.year, month, current.day, true);
}

// --- The day menu ------------------------------------------------------------------------------------------

bool CTavrelView::onContextMenu(gfx::Point screenPoint)
{
    // Only the frame in front takes the gesture (not one behind a dialog or a control
    // application's window).
    ui::Window* frame = topLevel();
    if (!desktop() || desktop()->foreground() != frame)
        return false;
    std::optional<ui::Menu> menu = PrepareDayMenu(fromScreen(screenPoint));
    if (!menu)
        return false;
    // The frame owns the menu: it enables the items through its command-update query and carries
    // out the one chosen, routing it as it routes every command.
    ui::PopupMenu::track(*menu, ui::TPM_LEFTALIGN | ui::TPM_TOPALIGN, screenPoint, frame);
    return true;
}

std::optional<ui::Menu> CTavrelView::PrepareDayMenu(gfx::Point client)
{
    const int mode = m_mode.load();
    if (const TapRegion* region = m_days.Find(client)) {
        const int monthDay = int(region->GetLParam());
        const CTavrelDay day(int(region->GetWParam()), monthDay / 100, monthDay % 100);
        int hour = 0;
        if (mode == Daily || mode == Weekly) {
            // The painters divide the rows' height in 24 exactly (row h starts at h × height ÷ 24,
            // rounded down), so the hour is the last row starting at or above the point; dividing
            // by a row height rounded down to whole pixels would drift a row or more off by the
            // evening and give 24 at the bottom.
            const gfx::Rect& rows = region->GetRect();
            const int height = std::abs(rows.height());
            while (hour < 23 && rows.top + (hour + 1) * height / 24 <= client.y)
                ++hour;
        }
        m_heldDate = device::OleDateTime(day.year, day.month, day.day, hour, 0, 0);
        return BuildDayMenu(true);
    }

    if (mode != Monthly)
        return std::nullopt;
    // No day region: a cell of the month grid. Cells before the 1st and after the last day turn
    // the month; a day's cell (which its day region normally covers) gets the menu without the
    // templates.
    const CTavrelDay current = CTavrelDay::Of(GetCurrentDate());
    const int days = CTavrelDay::DaysInMonth(current.year, current.month);
    for (int index = 0; index < CTavrelMonthLayout::CellCount; ++index) {
        if (!m_layout.cells[std::size_t(index)].contains(client))
            continue;
        const int day = index - m_layout.firstWeekday + 1;
        ui::Menu menu;
        if (day < 1) {
            menu.append(u"Previous Month", ID_GOTO_PREVIOUS);
        } else if (day > days) {
            menu.append(u"Next Month", ID_GOTO_NEXT);
        } else {
            m_heldDate = CTavrelDay(current.year, current.month, day).Start();
            return BuildDayMenu(false);
        }
        return menu;
    }
    return std::nullopt;
}

ui::Menu CTavrelView::BuildDayMenu(bool withPersonalNew)
{
    ui::Menu menu;
    CTavrelCalendarData& data = m_source.GetCalendarData();
    if (CTavrelCalendarData::IsPersonal(data.GetCurrentCalendarName())) {
        if (withPersonalNew)
            AppendPersonalNew(menu);
    } else {
        const std::vector<CQoString> kinds = data.GetCurrentActivityKinds();
        if (!kinds.empty()) {
            ui::Menu& submenu = menu.appendSubmenu(MenuText(m_newMenuText));
            const std::size_t count = std::min(kinds.size(), std::size_t(MaxMenuActivityKinds));
            for (std::size_t i = 0; i < count; ++i)
                submenu.append(MenuText(kinds[i]), ID_NEW_FIRST_ACTIVITY + int(i));
        }
    }
    menu.append(u"Set Background...", ID_DAY_MENU_SET_BACKGROUND);
    menu.append(u"Set Skin...", ID_DAY_MENU_SET_SKIN);
    menu.append(u"Set Icon Rules...", ID_VIEW_RULES);
    return menu;
}

void CTavrelView::AppendPersonalNew(ui::Menu& menu)
{
    ui::Menu& submenu = menu.appendSubmenu(MenuText(m_newMenuText));
    // Templates beyond the range of the "New" commands are kept, but cannot be offered.
    const std::vector<CQoString> templates = m_source.GetAppointmentTemplateNames();
    const std::size_t count = std::min(templates.size(), std::size_t(MaxMenuTemplates));
    for (std::size_t i = 0; i < count; ++i)
        submenu.append(MenuText(templates[i]), ID_NEW_FIRST_TEMPLATE + int(i));
    if (count > 0)
        submenu.appendSeparator();
    submenu.append(u"Appointment", ID_NEW_APPOINTMENT);
    submenu.append(u"All Day Appointment", ID_NEW_ALL_DAY_APPOINTMENT);
    submenu.append(u"Weekly Appointment", ID_NEW_WEEKLY_APPOINTMENT);
    submenu.append(u"Monthly Appointment", ID_NEW_MONTHLY_APPOINTMENT);
    submenu.append(u"Yearly Appointment", ID_NEW_YEARLY_APPOINTMENT);
    submenu.appendSeparator();
    submenu.append(u"Customize...", ID_NEW_CUSTOMIZE);
}

// --- Commands ------------------------------------------------------------------------------------------------

bool CTavrelView::onCommand(int id, int code, ui::WindowHandle source)
{
    switch (id) {
    case ID_VIEW_DAILY:
    case ID_VIEW_WEEKLY:
    case ID_VIEW_MONTHLY:
    case ID_VIEW_QUARTERLY:
        ShowCalendar(id - ID_VIEW_DAILY, true);
        m_source.GetSettings().SetLastView(m_mode.load()); // the mode now in force
        return true;
    case ID_GOTO_NEXT:
        Next();
        return true;
    case ID_GOTO_PREVIOUS:
        Previous();
        return true;
    case ID_GOTO_TODAY:
        Today();
        return true;
    case ID_BACKGROUND_FADE:
        if (!IsFadeCommandEnabled())
            return true;
        ToggleFadeSlider();
        return true;
    default:
        break;
    }
    if (id >= ID_MONTH_MENU_FIRST && id <= ID_MONTH_MENU_LAST) {
        ChooseMonth(id - ID_MONTH_MENU_FIRST + 1);
        return true;
    }
    if (id >= ID_EVENT_MENU_FIRST && id <= ID_EVENT_MENU_LAST) {
        ChooseEventMenuItem(id);
        return true;
    }
    return false;
}

bool CTavrelView::onUpdateCommand(ui::CommandUpdate& update)
{
    if (update.id == ID_BACKGROUND_FADE) {
        update.enable(IsFadeCommandEnabled());
        return true;
    }
    return false;
}

bool CTavrelView::onScroll(std::uint32_t message, int code, int position, ui::WindowHandle source)
{
    if (message != ui::WM_HSCROLL || !m_slider || source != m_slider->handle())
        return false;
    SetFadeLevel(m_slider->position());
    return true;
}
