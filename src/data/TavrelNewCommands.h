#pragma once
// The command ids of the day menu's "New" submenu, which the view builds and the main frame
// carries out (it dispatches the whole range 35000-35099 before any other routing).
//
// In "<Personal>": the five built-in items, "Customize..." (the appointment templates editor) and
// one item per stored template, 35021 for the first one the registry enumerates, 35022 for the
// second … up to 35099, so at most 79 templates can be offered. In a registered calendar the same
// range carries its activity kinds: 35000 + n is kind n (from 0) of its factory list.

inline constexpr int ID_NEW_APPOINTMENT = 35000;
inline constexpr int ID_NEW_ALL_DAY_APPOINTMENT = 35001;
inline constexpr int ID_NEW_WEEKLY_APPOINTMENT = 35002;
inline constexpr int ID_NEW_MONTHLY_APPOINTMENT = 35003;
inline constexpr int ID_NEW_YEARLY_APPOINTMENT = 35004;
inline constexpr int ID_NEW_CUSTOMIZE = 35020;
inline constexpr int ID_NEW_FIRST_TEMPLATE = 35021;
inline constexpr int ID_NEW_FIRST_ACTIVITY = 35000;
inline constexpr int ID_NEW_LAST_COMMAND = 35099;

// How many templates the "New" submenu can offer (35021-35099).
inline constexpr int MaxMenuTemplates = ID_NEW_LAST_COMMAND - ID_NEW_FIRST_TEMPLATE + 1;
// How many activity kinds it can offer (35000-35099).
inline constexpr int MaxMenuActivityKinds = ID_NEW_LAST_COMMAND - ID_NEW_FIRST_ACTIVITY + 1;
