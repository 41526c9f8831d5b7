#pragma once
// Starting a host program on its own: it runs detached from the starting program (its own
// session, reaped by the host, not by us), so a calendar that starts a help browser or the
// reminder neither waits for it nor collects zombies. Used by ProcessStart and ShellExecute.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace device {

class HostProcess {
public:
    // Starts argv[0] (an absolute path, or a name looked up in $PATH) with the arguments; standard
    // input is the null device, output goes where ours goes. True once the program is running;
    // false, with the reason, when it could not be executed.
    static bool startDetached(const std::vector<std::string>& argv, std::string* error = nullptr);
    // The same with NAME=VALUE settings that replace or add to our environment in the program's.
    static bool startDetached(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                              std::string* error = nullptr);

    // The first executable file of that name in $PATH, or nothing.
    static std::optional<std::filesystem::path> findInPath(const std::string& name);
};

} // namespace device
