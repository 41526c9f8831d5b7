#pragma once
// CTavrelCommandLine: the calendar program's command line on this platform.
//
//   tavrel [--device DIR] [--headless] [--snapshot FILE] [--script FILE] [--zoom N]
//          [--control-port P] [--notify-port Q] [TavrelControl]
//
// The options are the host's; the other words are the handheld's command line, which the
// application reads ("TavrelControl" in any letter case selects control mode; "/switch" words come
// from the device's other programs). An option that is not known, lacks its value or has a bad one,
// and any other word, make Parse fail with a one-line reason.

#include "common/QoString.h"

#include <optional>
#include <string>
#include <vector>

class CTavrelCommandLine {
public:
    static constexpr int MaximumZoom = 8;

    std::optional<std::string> device;
    bool headless = false;
    std::optional<std::string> snapshot;
    std::optional<std::string> script;
    int zoom = 2;
    int controlPort = 22137;
    int notifyPort = 22138;
    bool help = false;
    bool version = false;
    std::vector<CQoString> parameters;

    // Nothing, and the reason in `error`, when the arguments (argv without the program name) are
    // not understood.
    static std::optional<CTavrelCommandLine> Parse(const std::vector<std::string>& arguments, std::string* error);
    static const char* Usage();
    // The frame's and the view's command ids a script's `command ID` can use, for --help.
    static std::string CommandIds();
};
