#pragma once
// tavrel-device install and uninstall: the package installer (PackageInstaller).
//
//   install [--if-needed] [--setup-library FILE] [PACKAGE_DIR]
//       copies the package onto the device and records the program table, the install folder
//       and the start-menu shortcuts, calling the package's setup library before and after.
//       Without PACKAGE_DIR: the package the build lays out beside the programs
//       (BIN/../assets/package); without --setup-library: BIN/libTavrelSetup.so. With
//       --if-needed nothing happens when that package is installed already and nothing in it
//       (or in the programs) is newer.
//   uninstall [--answer yes|no] [--headless]
//       removes what install put there, calling the setup library it was installed with, whose
//       question (keep the settings?) opens in a window, or is answered by --answer, or headless
//       takes its default (Yes: the settings stay).
//
// Exit 0 on success (also when the setup library cannot be used: it is named and left out), 1 with
// a message when the package is missing, the device cannot be written or the setup library
// cancels, 2 on bad arguments.

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
