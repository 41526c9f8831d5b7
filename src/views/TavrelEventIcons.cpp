#include "views/TavrelEventIcons.h"

bool CTavrelEventIcons::LoadBuiltIns(const gfx::ResourceTable* module)
{
    bool complete = true;
    for (int index = 0; index < ClockCount; ++index)
        complete = m_clocks[std::size_t(index)].LoadResource(FirstClockId + index, module) && complete;
    complete = m_allDay.LoadResource(AllDayId, module) && complete;
    complete = m_more.LoadResource(MoreId, module) && complete;
    return complete;
}

const CTavrelImage* CTavrelEventIcons::IconFor(const CTavrelEvent& event, bool displayDefaultIcons)
{
    if (!event.GetIcon().IsEmpty())
        if (const CTavrelImage* named = m_cache.Find(event.GetIcon()))
            return named;
    if (!displayDefaultIcons)
        return nullptr;
    const CTavrelImage* builtIn = nullptr;
    if (event.IsAllDay()) {
        builtIn = &m_allDay;
    } else {
        const device::OleDateTime& start = event.GetStart();
        const int hour = start.GetHour();
        const int minute = start.GetMinute();
        if (hour < 0 || minute < 0)
            return nullptr;
        builtIn = &m_clocks[std::size_t(ClockIndex(hour, minute))];
    }
    // A program whose built-in pictures are missing draws such events without an icon.
    return builtIn->IsLoaded() ? builtIn : nullptr;
}
