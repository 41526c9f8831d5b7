#pragma once
// tavrel-device date parse TEXT
//
// Reads TEXT as the device's locale reads a date-time and prints what the locale writes for it
// ("12/8/2026 3:45:00 PM"), exit 0. Text that is no date-time prints the error's name
// ("Type Mismatch" or "Overflow") on standard error, exit 1. Bad arguments: a one-line usage
// message, exit 2. Several words after "parse" are read as one text joined by spaces, so the
// text need not be quoted.

#include <iosfwd>
#include <string>
#include <vector>

// The usage, for --help.
const char* dateCommandUsage();
// `args` are the words after "date".
int runDateCommand(const std::vector<std::string>& args);
int runDateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
