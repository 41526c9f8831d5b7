#pragma once
// tavrel-device install and uninstall: the package installer (PackageInstaller).
//
//   install [--if-needed] [PACKAGE_DIR]
//       copies the package onto the device and records the program table, the install folder
//       and the start-menu shortcut. Without PACKAGE_DIR: the package the build lays out beside
//       the programs (BIN/../assets/package). With --if-needed nothing happens when that package
//       is installed already and nothing in it (or in the programs) is newer.
//   uninstall
//       removes what install put there; the user's settings and files stay.
//
// Exit 0 on success, 1 with a message when the package is missing or the device cannot be
// written, 2 on bad arguments.

#include <iosfwd>
#include <string>
#include <vector>

// `args` are the words after the command.
// The usages, for --help.
const char* installCommandUsage();
const char* uninstallCommandUsage();
int runInstallCommand(const std::vector<std::string>& args);
int runInstallCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runUninstallCommand(const std::vector<std::string>& args);
int runUninstallCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
