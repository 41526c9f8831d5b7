#pragma once
// One of the built programs running beside the test, for tests that talk to it while it runs
// (the calendar on its control ports). Output goes to files that the test may read at any time;
// the destructor ends the program if it is still running.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class BackgroundProgram {
public:
    // Starts PROGRAM ARGS... from $TAVREL_BIN (see programPath) with the extra NAME=VALUE
    // settings in its environment and standard input empty.
    BackgroundProgram(const std::string& name, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment = {});
    ~BackgroundProgram();
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

    bool started() const { return m_pid > 0; }
    int pid() const { return m_pid; }
    // Whether it is still running (reaps it when it has ended).
    bool running();
    // Waits for the end; the exit code, or nothing when it did not end in time (or was killed).
    std::optional<int> waitFor(std::chrono::milliseconds timeout);
    // Ends it (SIGTERM, then SIGKILL after a second) and reaps it.
    void stop();

    std::string out() const;
    std::string err() const;

private:
    int m_pid = -1;
    std::optional<int> m_exitCode;
    bool m_reaped = false;
    std::filesystem::path m_outFile;
    std::filesystem::path m_errFile;
};

} // namespace testing_support
