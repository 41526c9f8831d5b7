#pragma once
// CTavrelReminderCommandLine: the reminder program's command line on this platform.
//
//   tavrel-reminder [--device DIR] [--headless] [--script FILE] [--zoom N] [AppRunAtTime]
//
// The options are the host's. "AppRunAtTime" is the handheld's command line, which the device's
// scheduler passes and the program does not read. An option that is not known, lacks its value or
// has a bad one, and any other word, make Parse fail with a one-line reason.

#include <optional>
#include <string>
#include <vector>

class CTavrelReminderCommandLine {
public:
    static constexpr int MaximumZoom = 8;

    std::optional<std::string> device;
    bool headless = false;
    std::optional<std::string> script;
    int zoom = 2;
    bool help = false;
    bool version = false;
    std::vector<std::string> parameters;

    static std::optional<CTavrelReminderCommandLine> Parse(
        const std::vector<std::string>& arguments, std::string* error);
    static const char* Usage();
};
