#pragma once
// The calendar view's messages, commands and timers, with the numbers that the reader thread, the
// main frame and control applications rely on.
//
// Message parameters: `year` is the four-digit year and `md` is month × 100 + day. The event
// messages carry a pointer to an event of the view's own snapshot in lParam; the view checks that
// the event is still in its snapshot before it touches it.

#include "data/TavrelReaderView.h"
#include "platform/ui/Messages.h"

#include <cstdint>

// VM_REFRESH_EVENTS (WM_USER + 0) is declared with the reader's view interface.
inline constexpr std::uint32_t VM_SHOW_QUARTERLY = ui::WM_USER + 1; // year, month × 100
inline constexpr std::uint32_t VM_SHOW_MONTHLY = ui::WM_USER + 2;   // year, md
inline constexpr std::uint32_t VM_SHOW_WEEKLY = ui::WM_USER + 3;    // year, md
inline constexpr std::uint32_t VM_SHOW_DAILY = ui::WM_USER + 4;     // year, md
inline constexpr std::uint32_t VM_SELECT_DAY = ui::WM_USER + 5;     // year, md
inline constexpr std::uint32_t VM_OPEN_EVENT = ui::WM_USER + 6;     // 0, the event
inline constexpr std::uint32_t VM_EVENT_MENU = ui::WM_USER + 7;     // tap point, the event
inline constexpr std::uint32_t VM_PREVIOUS = ui::WM_USER + 8;       // 0, 0
inline constexpr std::uint32_t VM_NEXT = ui::WM_USER + 9;           // 0, 0

// Commands of the "View" and "Go To" menus and of the tool buttons.
inline constexpr int ID_VIEW_DAILY = 32805;
inline constexpr int ID_VIEW_WEEKLY = 32806;
inline constexpr int ID_VIEW_MONTHLY = 32807;
inline constexpr int ID_VIEW_QUARTERLY = 32808;
inline constexpr int ID_GOTO_NEXT = 32792;
inline constexpr int ID_GOTO_PREVIOUS = 32793;
inline constexpr int ID_GOTO_TODAY = 32800;
inline constexpr int ID_VIEW_RULES = 32795;
inline constexpr int ID_BACKGROUND_FADE = 32780;

// The day menu's appearance items; the main frame carries them out ("Set Icon Rules..." is
// ID_VIEW_RULES, "Previous Month" and "Next Month" are ID_GOTO_PREVIOUS and ID_GOTO_NEXT).
inline constexpr int ID_DAY_MENU_SET_BACKGROUND = 32781; // the main menu's background "Choose..."
inline constexpr int ID_DAY_MENU_SET_SKIN = 32798;       // the main menu's "Choose Skin..."

// The month menu: item i (1 = January … 12 = December) has the id i + 199.
inline constexpr int ID_MONTH_MENU_FIRST = 200;
inline constexpr int ID_MONTH_MENU_LAST = 211;
// The event menus: item i opens the i-th event the menu lists.
inline constexpr int ID_EVENT_MENU_FIRST = 400;
inline constexpr int ID_EVENT_MENU_LAST = 499;

// The fade slider over the title area.
inline constexpr int IDC_FADE_SLIDER = 300;

// Timers of the view.
inline constexpr unsigned TIMER_FADE = 1;        // one render 250 ms after the first fade change
inline constexpr unsigned TIMER_DAY_CHANGE = 2;  // looks for a new day every 10 seconds
inline constexpr unsigned FadeTimerMs = 250;
inline constexpr unsigned DayChangeTimerMs = 10000;
