#pragma once
// The commands of tavrel-device, each implemented in its own file.

#include <string>
#include <vector>

using ToolCommandFunction = int (*)(const std::vector<std::string>& args);
using ToolCommandUsage = const char* (*)();

struct ToolCommand {
    const char* name;
    ToolCommandFunction run; // null for commands main() handles itself
    ToolCommandUsage usage;  // the text --help prints
};

const ToolCommand* findToolCommand(const std::string& name);

