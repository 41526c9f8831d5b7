#include "control/TavrelActivityCommands.h"

#include "data/TavrelCalendarData.h"
#include "data/TavrelRegisteredCalendar.h"

#include <mutex>
#include <optional>

CTavrelActivityCommands::CTavrelActivityCommands(CTavrelCalendarData& data) : m_data(data) {}

CTavrelRegisteredCalendar* CTavrelActivityCommands::RegisteredCalendar()
{
    CTavrelCalendarData::CalendarList& calendars = m_data.GetRegisteredCalendars();
    if (calendars.empty())
        return nullptr;
    return dynamic_cast<CTavrelRegisteredCalendar*>(calendars.front().get());
}

bool CTavrelActivityCommands::HasRegisteredCalendar()
{
    std::lock_guard calendars(m_data.GetCalendarListLock());
    return RegisteredCalendar() != nullptr;
}

CTavrelEvent CTavrelActivityCommands::MakeEvent(const CTavrelActivity& activity)
{
    CTavrelEvent event(activity.start, activity.end, activity.id, activity.name, CQoString(u""));
    event.SetClass(activity.category);
    event.SetChangeable(activity.changeable);
    event.SetExtraFlag(activity.extraFlag);
    return event;
}

CTavrelEvents& CTavrelActivityCommands::CategoryFor(CTavrelRegisteredCalendar& calendar, const CQoString& name)
{
    if (CTavrelEvents* category = calendar.FindCategory(name))
        return *category;
    // Categories that control applications create are shown.
    return calendar.AddCategory(name, true);
}

void CTavrelActivityCommands::RemoveFromItsCategory(CTavrelRegisteredCalendar& calendar, const CTavrelEvent& event)
{
    if (CTavrelEvents* category = calendar.FindCategory(event.GetClass()))
        category->RemoveEvent(event);
}

CTavrelActivityCommands::Result CTavrelActivityCommands::AddActivity(const CTavrelActivity& activity)
{
    std::lock_guard calendars(m_data.GetCalendarListLock());
    CTavrelRegisteredCalendar* calendar = RegisteredCalendar();
    if (!calendar)
        return Result::NoCalendar;
    CTavrelEvents* category = calendar->FindCategory(activity.category);
    if (category && category->FindByID(activity.id))
        return Update(*calendar, activity);

    // The ID in another category: the activity moves here.
    std::optional<CTavrelEvent> moved;
    if (CTavrelEvent* elsewhere = calendar->FindEventByID(activity.id)) {
        moved = *elsewhere;
        RemoveFromItsCategory(*calendar, *moved);
    }
    CTavrelEvents& target = CategoryFor(*calendar, activity.category);
    if (!target.AddEvent(MakeEvent(activity))) {
        if (moved)
            CategoryFor(*calendar, moved->GetClass()).AddEvent(*moved);
        return Result::Refused;
    }
    m_data.RequestRefresh();
    return Result::Added;
}

CTavrelActivityCommands::Result CTavrelActivityCommands::UpdateActivity(const CTavrelActivity& activity)
{
    std::lock_guard calendars(m_data.GetCalendarListLock());
    CTavrelRegisteredCalendar* calendar = RegisteredCalendar();
    if (!calendar)
        return Result::NoCalendar;
    return Update(*calendar, activity);
}

CTavrelActivityCommands::Result CTavrelActivityCommands::Update(CTavrelRegisteredCalendar& calendar,
                                                                const CTavrelActivity& activity)
{
    CTavrelEvent* stored = calendar.FindEventByID(activity.id);
    if (!stored) {
        m_data.RequestRefresh();
        return Result::NotFound;
    }
    const CTavrelEvent original(*stored);
    CTavrelEvent updated(original);
    updated.SetName(activity.name);
    updated.SetStart(activity.start);
    updated.SetEnd(activity.end);
    updated.SetIcon(CQoString(u""));
    updated.SetChangeable(activity.changeable);
    updated.SetExtraFlag(activity.extraFlag);

    // Out and back in, so the category stays in start order; to the new category when it changes.
    RemoveFromItsCategory(calendar, original);
    if (!CategoryFor(calendar, activity.category).AddEvent(updated)) {
        CategoryFor(calendar, original.GetClass()).AddEvent(original);
        return Result::Refused;
    }
    m_data.RequestRefresh();
    return Result::Updated;
}

CTavrelActivityCommands::Result CTavrelActivityCommands::DeleteActivity(const CQoString& id)
{
    std::lock_guard calendars(m_data.GetCalendarListLock());
    CTavrelRegisteredCalendar* calendar = RegisteredCalendar();
    if (!calendar)
        return Result::NoCalendar;
    CTavrelEvent* stored = calendar->FindEventByID(id);
    if (!stored)
        return Result::NotFound;
    CTavrelEvents* category = calendar->FindCategory(stored->GetClass());
    const CTavrelEvent copy(*stored);
    if (!category || !category->RemoveEvent(copy))
        return Result::NotFound;
    m_data.RequestRefresh();
    return Result::Deleted;
}

CTavrelActivityCommands::Result CTavrelActivityCommands::DeleteAllActivities()
{
    std::lock_guard calendars(m_data.GetCalendarListLock());
    CTavrelRegisteredCalendar* calendar = RegisteredCalendar();
    if (!calendar)
        return Result::NoCalendar;
    for (CTavrelEvents& category : calendar->GetCategories())
        category.RemoveAll();
    m_data.RequestRefresh();
    return Result::Deleted;
}
