#pragma once
// CQoLogConfigCommandLine: QoLog Config's command line on this platform.
//
//   qolog-config [--device DIR] [--headless] [--script FILE] [--zoom N]
//
// The handheld starts the program without arguments; these options are the host's. A word that is
// no option, an option that is not known, lacks its value or has a bad one makes Parse fail with a
// one-line reason; so does --headless without --script, which would leave the dialog open with
// nobody to close it.

#include <optional>
#include <string>
#include <vector>

class CQoLogConfigCommandLine {
public:
    static constexpr int MaximumZoom = 8;

    std::optional<std::string> device;
    bool headless = false;
    std::optional<std::string> script;
    int zoom = 2;
    bool help = false;
    bool version = false;

    static std::optional<CQoLogConfigCommandLine> Parse(const std::vector<std::string>& arguments, std::string* error);
    static const char* Usage();
};
