#include "data/TavrelReader.h"

#include "common/QoLog.h"
#include "data/TavrelSettings.h"
#include "platform/pim/Application.h"
#include "rules/TavrelRules.h"

#include <cstring>
#include <mutex>

namespace {

CQoString toQoString(device::WideView text)
{
    CQoString result;
    if (char16_t* buffer = result.GetBuffer(unsigned(text.size()) + 1)) {
        std::memcpy(buffer, text.data(), text.size() * sizeof(char16_t));
        result.ReleaseBuffer(int(text.size()));
    }
    return result;
}

// Two view dates are the same when status and value are.
bool sameViewDate(const device::OleDateTime& a, const device::OleDateTime& b)
{
    return CTavrelEvent::SameDateTime(a, b);
}

} // namespace

CTavrelReader::CTavrelReader(Sources sources, std::shared_ptr<CTavrelSleeper> sleeper)
    : m_sources(std::move(sources)), m_sleeper(std::move(sleeper))
{
    if (!m_sleeper)
        m_sleeper = std::shared_ptr<CTavrelSleeper>(&CTavrelSleeper::System(), [](CTavrelSleeper*) {});
}

CTavrelReader::~CTavrelReader() = default;

void CTavrelReader::Run()
{
    OpenStore();
    while (!m_sources.data->IsReaderStopRequested())
        RunPass();
}

bool CTavrelReader::OpenStore()
{
    if (m_items)
        return true;
    if (!m_sources.outlook)
        return false;
    if (!m_folder)
        m_folder = m_sources.outlook->getDefaultFolder(pim::olFolderCalendar);
    if (m_folder)
        m_items = m_folder->items();
    return m_items != nullptr;
}

bool CTavrelReader::ShouldStopReading() const
{
    return m_sources.data->IsReaderStopRequested();
}

void CTavrelReader::Wait(int steps, bool endOnRefresh)
{
    CTavrelCalendarData& data = *m_sources.data;
    for (int step = 0; step < steps; ++step) {
        if (data.IsReaderStopRequested() || (endOnRefresh && data.IsRefreshRequested()))
            return;
        m_sleeper->Sleep(WaitStep);
    }
}

CTavrelReader::PassResult CTavrelReader::RunPass()
{
    CTavrelCalendarData& data = *m_sources.data;
    data.ClearRefresh();
    // Settings that the registry did not take while another program held it are tried again
    // every pass, so they reach it soon after it is free even when nobody uses a setting; this
    // thread can afford the short wait a try may cost.
    if (m_sources.settings)
        m_sources.settings->GetWriter().RetryIfDue();

    device::OleDateTime date;
    int mode = -1;
    const auto reach = data.GetMainWindowLink().WithView([&](CTavrelReaderView& view) {
        date = view.GetCurrentDate();
        mode = view.GetViewMode();
    });
    if (reach != CTavrelMainWindowLink::Reach::Reached) {
        // No window to show anything in yet; the sleep still gives way to the stop flag, so a
        // program that ends before its frame exists is not kept waiting.
        Wait(NoViewWaitSteps, false);
        return data.IsReaderStopRequested() ? PassResult::Stopped : PassResult::NoView;
    }

    const CTavrelReaderPeriod period = CTavrelReaderPeriod::ForView(date, mode);
    CQoString current;
    {
        const CQoLog::SwitchSnapshot logging;
        std::lock_guard events(data.GetEventLock());
        std::lock_guard calendars(data.GetCalendarListLock());
        current = data.GetCurrentCalendarName();
        Rebuild(date, period, current);
    }
    if (data.IsReaderStopRequested())
        return PassResult::Stopped;

    bool unchanged = false;
    data.GetMainWindowLink().WithView([&](CTavrelReaderView& view) {
        unchanged = sameViewDate(view.GetCurrentDate(), date);
        if (unchanged)
            view.PostRefreshEvents();
    });
    if (!unchanged)
        return PassResult::DateChanged;

    const bool storeCalendar = CTavrelCalendarData::IsPersonal(current) || CTavrelCalendarData::IsCombined(current);
    Wait(storeCalendar ? StoreCalendarWaitSteps : NamedCalendarWaitSteps, true);
    return data.IsReaderStopRequested() ? PassResult::Stopped : PassResult::Posted;
}

void CTavrelReader::Rebuild(const device::OleDateTime& date, const CTavrelReaderPeriod& period, const CQoString& current)
{
    CTavrelCalendarData& data = *m_sources.data;
    CTavrelEvents& window = data.GetWindowEvents();
    window.SetName(CTavrelReaderPeriod::KeyFor(date));
    window.RemoveAll();
    m_lastStoreCount = 0;

    const bool personal = CTavrelCalendarData::IsPersonal(current);
    const bool combined = CTavrelCalendarData::IsCombined(current);
    if (personal || combined) {
        if (!data.IsReaderStopRequested() && !data.IsRefreshRequested())
            ReadStore(period, window);
    } else if (CTavrelCalendar* calendar = data.FindCalendar(current)) {
        for (CTavrelEvents& category : calendar->GetCategories()) {
            if (category.IsVisible())
                CopyCategory(category, period, window);
        }
    }
    if (!combined)
        return;

    // Only the events of the period are copied, under their combined names: a control
    // application's calendar may hold thousands of activities, and a pass must not copy them all.
    for (const auto& calendar : data.GetRegisteredCalendars()) {
        for (CTavrelEvents& category : calendar->GetCategories()) {
            if (category.IsVisible())
                CopyCategory(category, period, window, &calendar->GetName());
        }
    }
    for (const auto& calendar : data.GetRemoteCalendars()) {
        for (const CTavrelEvents& category : calendar->GetCategories()) {
            if (!category.IsVisible())
                continue;
            CTavrelEvents copy(category);
            RenameForCombined(copy, period, calendar->GetName());
            window.Merge(copy);
        }
    }
}

void CTavrelReader::RenameForCombined(CTavrelEvents& copy, const CTavrelReaderPeriod& period, const CQoString& calendar)
{
    for (CTavrelEvent* event = copy.FindFirst(period.GetFrom(), period.GetTo()); event;
         event = copy.FindNext(period.GetFrom(), period.GetTo())) {
        CQoString name;
        name.Format(u"%s (%s)", event->GetName().GetString(), calendar.GetString());
        event->SetName(name);
    }
}

void CTavrelReader::CopyCategory(CTavrelEvents& category, const CTavrelReaderPeriod& period, CTavrelEvents& window,
                                 const CQoString* combinedCalendar)
{
    for (CTavrelEvent* event = category.FindFirst(period.GetFrom(), period.GetTo()); event;
         event = category.FindNext(period.GetFrom(), period.GetTo())) {
        if (event->GetStart() > period.GetTo())
            break;
        if (!combinedCalendar) {
            if (event->GetIcon().IsEmpty()) {
                CQoString icon;
                if (MatchIcon(event->GetName(), event->GetClass(), event->GetAttendees(), icon))
                    event->SetIcon(icon);
            }
            window.AddEvent(
                CTavrelEvent(event->GetStart(), event->GetEnd(), event->GetID(), event->GetName(), event->GetIcon()));
            continue;
        }
        // "<Combined>": the name says which calendar the event comes from, and the rules match
        // that name; the icon found is not kept in the calendar, whose own name is different.
        CQoString name;
        name.Format(u"%s (%s)", event->GetName().GetString(), combinedCalendar->GetString());
        CQoString icon = event->GetIcon();
        if (icon.IsEmpty())
            MatchIcon(name, event->GetClass(), event->GetAttendees(), icon);
        window.AddEvent(CTavrelEvent(event->GetStart(), event->GetEnd(), event->GetID(), name, icon));
    }
}

bool CTavrelReader::MatchIcon(const CQoString& name, const CQoString& categories, std::int32_t attendees, CQoString& icon)
{
    if (!m_sources.rules)
        return false;
    std::lock_guard rules(m_sources.data->GetRulesLock());
    return m_sources.rules->MatchIcon(name, categories, attendees, icon);
}

void CTavrelReader::ReadStore(const CTavrelReaderPeriod& period, CTavrelEvents& window)
{
    if (!OpenStore())
        return;
    const bool showUnmatched = !m_sources.settings || m_sources.settings->GetDisplayDefaultIcons();
    m_items->setIncludeRecurrences(true);
    const CQoString restriction = period.GetRestriction();
    for (auto item = m_items->find(restriction.View()); item; item = m_items->findNext()) {
        if (ShouldStopReading())
            break;
        ++m_lastStoreCount;
        const CQoString subject = toQoString(item->subject());
        const CQoString categories = toQoString(item->categories());
        const std::int32_t recipients = item->recipients().count();
        CQoString icon;
        const bool matched = MatchIcon(subject, categories, recipients, icon);
        if (!matched && !showUnmatched)
            continue;
        window.AddEvent(CTavrelEvent(item->start(), item->end(),
                                     std::int32_t(item->oid()), subject, icon));
    }
}
