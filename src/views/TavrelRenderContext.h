#pragma once
// CTavrelRenderContext: what every painter of one render works with — the drawing context, the
// view's event snapshot, the settings read for this render, the event icons, the two region
// lists, the month layout, the clock's day and the mode being drawn. The view builds one per
// render; nothing in it outlives the render except what the painters store in the view's lists
// and layout.

#include "data/TavrelEvents.h"
#include "platform/gfx/Painter.h"
#include "platform/ui/WindowHandle.h"
#include "views/TavrelDay.h"
#include "views/TavrelEventIcons.h"
#include "views/TavrelMonthLayout.h"
#include "views/TavrelTapRegions.h"
#include "views/TavrelViewSettings.h"

#include <vector>

struct CTavrelRenderContext {
    gfx::Painter& dc;
    CTavrelEvents& events;
    const CTavrelViewSettings& settings;
    CTavrelEventIcons& icons;
    CTavrelTapRegions& taps;
    CTavrelTapRegions& days;
    CTavrelMonthLayout& layout;
    ui::WindowHandle target; // the view: every region posts to it
    CTavrelDay today;        // the clock's day, for the today marks
    int mode;                // the mode being drawn (CTavrelReaderView::ViewMode)

    // A region at the tail of the tap list.
    void AddTap(std::uint32_t message, ui::WParam wParam, ui::LParam lParam, const gfx::Rect& rect)
    {
        taps.Append(TapRegion(target, message, wParam, lParam, rect));
    }
    // A region at the head of the tap list: event marks that lie over the day cells.
    void AddTapAtHead(std::uint32_t message, ui::WParam wParam, ui::LParam lParam, const gfx::Rect& rect)
    {
        taps.Prepend(TapRegion(target, message, wParam, lParam, rect));
    }
    // A day region: which day lies under the rectangle.
    void AddDay(const CTavrelDay& day, const gfx::Rect& rect)
    {
        days.Append(TapRegion(target, 0, ui::WParam(day.year), ui::LParam(day.MonthDay()), rect));
    }
    // The events of the snapshot that overlap the closed period, in snapshot (start) order.
    std::vector<CTavrelEvent*> EventsBetween(const device::OleDateTime& from, const device::OleDateTime& to)
    {
        std::vector<CTavrelEvent*> found;
        for (CTavrelEvent* event = events.FindFirst(from, to); event; event = events.FindNext(from, to))
            found.push_back(event);
        return found;
    }
};

// The event a region carries in its lParam.
inline ui::LParam EventParameter(const CTavrelEvent* event) { return ui::LParam(event); }
