#include "shell/TavrelAttachedCalendarsCommand.h"

#include "data/TavrelCalendarData.h"
#include "remote/AttachedCalendarsDlg.h"
#include "remote/TavrelAttachedCalendarStore.h"
#include "remote/TavrelOwnHost.h"
#include "shell/TavrelApp.h"

#include <algorithm>
#include <mutex>

namespace {

bool holdsName(const CTavrelCalendarData::CalendarList& list, const CQoString& name)
{
    return std::any_of(list.begin(), list.end(),
                       [&](const auto& calendar) { return calendar->GetName().CompareNoCase(name) == 0; });
}

} // namespace

CTavrelAttachedCalendarsCommand::Outcome CTavrelAttachedCalendarsCommand::Run()
{
    CTavrelCalendarData& data = m_app.GetCalendarData();
    CTavrelAttachedCalendarStore& store = m_app.GetAttachedCalendarStore();
    const CTavrelOwnHost ownHost;
    CAttachedCalendarsDlg dialog(store, ownHost);
    {
        std::lock_guard calendars(data.GetCalendarListLock());
        for (const auto& calendar : data.GetRemoteCalendars())
            dialog.AddCalendar(*calendar);
    }

    Outcome outcome;
    if (dialog.RunModal() != ui::IDOK) {
        std::lock_guard calendars(data.GetCalendarListLock());
        for (const auto& calendar : data.GetRemoteCalendars())
            store.LoadCategoryVisibility(*calendar);
        m_app.RequestRefresh();
        return outcome;
    }

    std::vector<CAttachedCalendarsDlg::Entry> entries = dialog.TakeEntries();
    {
        std::lock_guard calendars(data.GetCalendarListLock());
        CTavrelCalendarData::CalendarList& attached = data.GetRemoteCalendars();
        const CQoString current = data.GetCurrentCalendarName();
        CTavrelCalendarData::CalendarList kept;
        for (auto& calendar : attached) {
            const bool stays = std::any_of(entries.begin(), entries.end(),
                                           [&](const auto& entry) { return entry.calendar->IsSameAs(*calendar); });
            if (stays) {
                kept.push_back(std::move(calendar));
                continue;
            }
            store.Delete(calendar->GetName());
            outcome.currentRemoved = outcome.currentRemoved || calendar->GetName().CompareNoCase(current) == 0;
        }
        // Saved after the removals, so that a calendar removed and attached again under its name
        // (from another address, say) is stored anew rather than taken for the one that went.
        for (const CAttachedCalendarsDlg::Entry& entry : entries) {
            if (!entry.attached || holdsName(data.GetRegisteredCalendars(), entry.calendar->GetName()))
                continue;
            CQoString message;
            if (!store.Save(*entry.attached, message))
                outcome.messages.push_back(message);
            if (outcome.firstAttached.IsEmpty() && !holdsName(kept, entry.calendar->GetName()))
                outcome.firstAttached = entry.calendar->GetName();
        }
        attached.clear();
        for (CAttachedCalendarsDlg::Entry& entry : entries)
            attached.push_back(std::move(entry.calendar));
        if (outcome.currentRemoved && holdsName(attached, current))
            outcome.currentRemoved = false;
    }
    outcome.applied = true;
    m_app.RequestRefresh();
    return outcome;
}
