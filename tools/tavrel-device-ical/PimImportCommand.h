#pragma once
// tavrel-device pim import and pim export: iCalendar files in and out of the appointment store.
//
//   pim import [--from DATE --to DATE] FILE.ics|-
//       brings the events of an iCalendar file (- reads standard input) into the store, in one
//       transaction. A repeating event the store cannot repeat by itself is brought in as its
//       occurrences between --from and --to (default: a year before today to two years after).
//       Importing the same file again changes what it brought instead of adding it twice. Prints
//       one summary line; every event left out is named on standard error with its reason, and a
//       file of more than 5,000 events shows its progress there.
//   pim export [--from DATE --to DATE] [FILE]
//       writes the store (or what touches the period, a series whole) as an iCalendar file, to
//       standard output without FILE.
//
// Exit 0 on success (events left out with a reason included); 1 with a message when the file
// cannot be read or is no iCalendar file, or the store fails (then nothing was imported); 2 on bad
// arguments.

#include <iosfwd>
#include <string>
#include <vector>

// `args` are the words after "pim" ("import", ...).
int runPimImportCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);
int runPimExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
