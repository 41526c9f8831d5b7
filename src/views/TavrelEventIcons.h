#pragma once
// CTavrelEventIcons: which picture an event is drawn with, shared by every view mode.
//
//   1. The icon file the event names (its `Icon`, from the icon rules), through the icon cache.
//   2. Otherwise, when "DispalyDefaultIcons" is 0: no icon.
//   3. An all-day event: the built-in all-day icon (image resource 250).
//   4. Otherwise the built-in clock face of its start: resource 200 + (hour mod 12) × 4 +
//      minute ÷ 15, so 0:00 and 12:00 share the first face and each quarter hour has its own.
//
// The built-in pictures (the 48 clock faces, the all-day icon and the "more" marker 253 that a
// full month cell shows) are decoded once, when the view is created.

#include "assets/ResourceIds.h"
#include "data/TavrelEvent.h"
#include "views/TavrelIconCache.h"
#include "views/TavrelImage.h"

#include <array>

class CTavrelEventIcons {
public:
    static constexpr int FirstClockId = IDB_CLOCK_FIRST;
    static constexpr int ClockCount = IDB_CLOCK_COUNT;
    static constexpr int AllDayId = IDB_ALLDAY;
    static constexpr int MoreId = IDB_MORE;

    // Decodes the 50 built-in pictures from `module` (null: the program's own resources).
    // False when one of them is missing; the others are still loaded.
    bool LoadBuiltIns(const gfx::ResourceTable* module = nullptr);

    // The picture to draw the event with, or null for none.
    const CTavrelImage* IconFor(const CTavrelEvent& event, bool displayDefaultIcons);
    // The index 0-47 of the clock face of a start time.
    static int ClockIndex(int hour, int minute) { return (hour % 12) * 4 + minute / 15; }

    const CTavrelImage& GetClock(int index) const { return m_clocks.at(std::size_t(index)); }
    const CTavrelImage& GetAllDay() const { return m_allDay; }
    const CTavrelImage& GetMore() const { return m_more; }
    CTavrelIconCache& GetCache() { return m_cache; }

private:
    std::array<CTavrelImage, ClockCount> m_clocks;
    CTavrelImage m_allDay;
    CTavrelImage m_more;
    CTavrelIconCache m_cache;
};
