#pragma once
// tavrel-device scheduler: the device's scheduler, which starts the programs whose registered
// start time has come (the run-at-time service, platform/scheduler).
//
//   scheduler            starts every program that is due now, each through the program table with
//                        the command line "AppRunAtTime", removes its pending start, and ends
//   scheduler --watch    keeps doing so as times fall due, until SIGINT or SIGTERM; a start
//                        registered meanwhile is noticed within PollInterval. This is what runs as
//                        a background service (see the README for a systemd user unit).
//   scheduler --list     the pending starts, earliest first: PROGRAM<TAB>TIME
//
// Each start is reported on standard output ("started PROGRAM (due TIME)"), each failure on
// standard error. Exit 0; 1 when a program could not be started (the one-shot run) or the pending
// starts cannot be read; 2 on bad arguments. The scheduler never opens a window.

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

constexpr std::chrono::seconds SchedulerPollInterval {2};

// The usage, for --help.
const char* schedulerCommandUsage();
int runSchedulerCommand(const std::vector<std::string>& args);
int runSchedulerCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
