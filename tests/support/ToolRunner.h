#pragma once
// Runs one of the built programs as a separate process, the way a person or a script would, and
// collects its exit code and output.

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The programs are in $TAVREL_BIN; without it, next to the running test program.
std::filesystem::path programPath(const std::string& name);

// Runs PROGRAM ARGS..., with standard input empty, and waits for it to end.
ToolRun runProgram(const std::string& name, const std::vector<std::string>& args,
                   const std::vector<std::string>& environment = {});

// Runs tavrel-device --device ROOT ARGS...
ToolRun runDeviceTool(const std::filesystem::path& deviceRoot, const std::vector<std::string>& args);

} // namespace testing_support
