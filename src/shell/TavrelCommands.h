#pragma once
// The main frame's command ids and resource ids, with the numbers the menu, the tool buttons,
// scripts and control applications rely on. The view's own commands (View, Go To, Fade...) are in
// views/TavrelViewMessages.h; the control datagram's message (0x702) is
// CTavrelControlSocket::WM_CONTROL_DATAGRAM.


// The "Calendar" menu.
inline constexpr int ID_CALENDAR_PERSONAL = 32774;
inline constexpr int ID_CALENDAR_COMBINED = 32776;
inline constexpr int ID_CALENDAR_ATTACHED = 32799;
inline constexpr int ID_BACKGROUND_CHOOSE = 32781;
inline constexpr int ID_CHOOSE_SKIN = 32798;
inline constexpr int ID_HELP_ONLINE = 32801;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 32791;
// The sixth tool button of control mode.
inline constexpr int ID_SWITCH_TO_CLIENT = 32809;

// One menu item per registered and remote calendar, in that order: 500 + the calendar's index.
inline constexpr int ID_CALENDAR_FIRST = 500;
inline constexpr int ID_CALENDAR_LAST = 599;
// The "New" menu of the day menu: new appointments, templates and activity kinds.
inline constexpr int ID_NEW_FIRST = 35000;
inline constexpr int ID_NEW_LAST = 35099;

// Dialogs.
inline constexpr int IDD_ABOUTBOX = 100;
