#pragma once
// tavrel-device reminder: writes and reads the reminder store, the current user's key
// "Software\Orvix\Tavrel\Reminder" that the reminder program (tavrel-reminder) shows. On the
// handheld another program fills it; this command stands in for that writer, for people and tests.
//
//   reminder add ID --at DATE [--title T] [--category C] [--start DATE] [--end DATE]
//       writes the reminder ID (a subkey of that name) with "Title", "Category", "Start", "End" and
//       "Reminder" (--at), dates written as the device locale writes them ("12/8/2026 9:00:00 AM");
//       --start defaults to --at and --end to --start. A reminder written again loses its snooze.
//       Then makes sure the reminder program runs at --at: its pending start is moved there unless
//       it is due earlier already.
//   reminder list
//       one line per reminder: ID<TAB>STATE<TAB>REMINDER<TAB>SNOOZE UNTIL<TAB>CATEGORY<TAB>START
//       <TAB>END<TAB>TITLE, in the store's order; STATE is "due" or "pending" at the device clock's
//       now, "dismissed", or "unreadable" when "Reminder" is missing or no date (REMINDER then shows
//       what is stored, or "(missing)"). Tabs and line breaks inside texts print as spaces.
//   reminder delete ID
//       deletes the reminder.
//
// IDs are the partner program's activity identifiers: 1 to 255 characters, no backslash (a key
// path separator) and no comma (the separator of "Dismissed"). Exit 0 on success; 1 with a
// message when the reminder does not exist or the registry fails; 2 on bad arguments.

#include <iosfwd>
#include <string>
#include <vector>

// The usage, for --help.
const char* reminderCommandUsage();
int runReminderCommand(const std::vector<std::string>& args);
int runReminderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
