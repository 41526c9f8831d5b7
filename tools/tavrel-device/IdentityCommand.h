#pragma once
// tavrel-device identity: what the device says it is when a program asks (device::DeviceIdentity).
//
//   identity [--major N] [--platform TEXT]
//       sets the operating system's major version (1 to 99) and the platform type text, then
//       prints both; without options only prints them. A new device answers 3 and "PocketPC".
//
// Exit 0 on success, 1 when the identity cannot be written, 2 on bad arguments.

#include <string>
#include <vector>

const char* identityCommandUsage();
int runIdentityCommand(const std::vector<std::string>& args);
