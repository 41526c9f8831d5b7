#pragma once
// Ids of the calendar program's image resources (type "IMAGE"). tools/assetgen draws each of them
// into the build tree as resources/<id>.gif (143 is a JPEG), and the program embeds them with
// tavrel_embed_image_resources() (assets/TavrelAssets.cmake). Include as "assets/ResourceIds.h"
// after linking the CMake target tavrel_resource_ids.
//
// Every small picture marks its background with the colour of its top-left pixel, which the
// views leave out when they draw it; see tools/assetgen/README.md.

// The program's icon (32 × 32), shown by its dialogs.
inline constexpr int IDI_TAVREL = 128;

// The reminder dialog's pictures by category (16 × 16).
inline constexpr int IDB_REMINDER_TODO = 131;
inline constexpr int IDB_REMINDER_CALL = 132;
inline constexpr int IDB_REMINDER_MEETING = 133;
inline constexpr int IDB_REMINDER_OTHER = 134;

// Strips and pictures of the views.
inline constexpr int IDB_TIMEBAR = 140;    // 240 × 12, the hours of a day
inline constexpr int IDB_WEEKBAR = 141;    // 240 × 12, the weekday names in sevenths of the width
inline constexpr int IDB_BACKGROUND = 143; // 240 × 228 JPEG, the background when no file is set
inline constexpr int IDB_DAYBAR = 144;     // 240 × 12, the weekday names over the month grid
inline constexpr int IDB_JANUARY = 145;    // 240 × 28 month titles, January to December
inline constexpr int IDB_DECEMBER = 156;

// The command bar's tool buttons (16 × 16).
inline constexpr int IDB_TOOL_PREVIOUS = 160;
inline constexpr int IDB_TOOL_NEXT = 161;
inline constexpr int IDB_TOOL_TODAY = 162;
inline constexpr int IDB_TOOL_ATTACHED = 163;
inline constexpr int IDB_TOOL_ABOUT = 164;
inline constexpr int IDB_TOOL_SWITCH_TO_VARNOW = 165;

// Event icons (16 × 16): a clock face for each quarter of a twelve-hour dial, and all day.
inline constexpr int IDB_CLOCK_FIRST = 200;
inline constexpr int IDB_CLOCK_COUNT = 48;
inline constexpr int IDB_ALLDAY = 250;

inline constexpr int IDB_LINKS = 252;  // 144 × 36, three equal parts: browse, sports, concerts
inline constexpr int IDB_MORE = 253;   // 9 × 4, a cell holds more events than it shows
inline constexpr int IDB_FOLDER = 255; // 16 × 16, a folder in the icon picker

// The month title of month 1 (January) to 12.
constexpr int MonthTitleResourceId(int month)
{
    return IDB_JANUARY + month - 1;
}

// The clock icon of a start time: hour 0 and 12 to before a quarter past share the first icon,
// each quarter of an hour after that the next one.
constexpr int ClockIconResourceId(int hour, int minute)
{
    return IDB_CLOCK_FIRST + (hour % 12) * 4 + minute / 15;
}
