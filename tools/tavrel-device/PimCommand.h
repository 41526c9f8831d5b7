#pragma once
// tavrel-device pim: reads and changes the device's appointment store (pim.db).
//
//   pim add --subject S --start DATE --end DATE [--all-day] [--location L] [--categories "A, B"]
//           [--recipient NAME]... [--recur daily|weekly|monthly|yearly [--interval N]
//           [--until DATE | --count N]]
//       saves a new appointment and prints its object identifier (decimal). A weekly series
//       repeats on the start's weekday, a monthly one on the start's day, a yearly one on the
//       start's month and day; --until is the last day an occurrence may fall on.
//   pim list [--from DATE --to DATE]
//       without a period, one line per appointment (a series once); with one, one line per
//       appointment or occurrence that touches it, as the calendar's own query finds them. A --to
//       without a time means the end of that day. Lines are
//       OID<TAB>START<TAB>END<TAB>SUBJECT<TAB>CATEGORIES<TAB>RECIPIENTS, in start order, dates as
//       the locale writes them ("12/8/2026 3:45:00 PM"), recipients joined by ", "; tabs and line
//       breaks inside texts print as spaces.
//   pim show OID      every field, one "Name: value" a line
//   pim delete OID    deletes the appointment (a series with all its occurrences)
//   pim import, pim export   iCalendar files in and out: run by tavrel-device-ical (its
//                            PimImportCommand.h), the only program that loads libical
//
// Options take their value as the next word or after "=" (--subject=Lunch). Dates are read by
// the device locale. Exit 0 on success; 1 with a message on standard error when no appointment
// has the identifier or the store fails; 2 with a one-line message on bad arguments.

#include <iosfwd>
#include <string>
#include <vector>

// The usage of every subcommand, for --help.
const char* pimCommandUsage();
// `args` are the words after "pim".
int runPimCommand(const std::vector<std::string>& args);
int runPimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
