#pragma once
// tavrel-device reg: reads and changes the device registry.
//
//   reg get HIVE KEY [VALUE]                     one value's data (a multi-string's strings one a
//                                                line); without VALUE every value as
//                                                NAME=TYPE:DATA, one a line, a name or text that
//                                                could be misread ("=", a line break) in quotes
//   reg set HIVE KEY VALUE sz|dword|binary DATA  creates the key when missing
//   reg delete HIVE KEY [VALUE]                  a value, or a key with everything below it
//   reg list HIVE KEY                            the subkey names, one a line
//   reg export [HIVE [KEY]]                      the subtree as a .reg file
//   reg import FILE|-                            what a .reg file says; a file with a mistake changes nothing
//
// HIVE is HKCU or HKLM; KEY separates levels with backslashes ("" is the hive itself); VALUE ""
// is the key's default value. Text arrives as UTF-8 and is stored as UTF-16. Data prints as text
// as is, numbers in decimal, bytes as upper-case hex. Exit 0 on success, 1 with a message on
// standard error when a key or value does not exist or the registry fails, 2 with a one-line
// usage message on bad arguments.

#include <iosfwd>
#include <string>
#include <vector>

// The usage lines of every verb, for --help.
const char* regCommandUsage();
// `args` are the words after "reg".
int runRegCommand(const std::vector<std::string>& args);
int runRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
