#pragma once
// Shows a document of the device to the person at the host: in a desktop session the host's
// opener (xdg-open) opens it; without one — headless programs, tests, a terminal without a display
// — the document is only named on standard error as "open-document: DEVICEPATH[#ANCHOR]", so a
// script can see what the user would have been shown and nothing is started.

#include "platform/device/WideText.h"

#include <string>

namespace device {

class DocumentOpener {
public:
    enum class Mode {
        Automatic, // the host's opener when a display is there ($DISPLAY or $WAYLAND_DISPLAY)
        Host,      // always the host's opener
        Report,    // never start anything; name the document on standard error
    };

    static void setMode(Mode mode);
    static Mode mode();

    // Opens the document of that device path, at the anchor when one is given. False when the
    // file does not exist, or when the host's opener is wanted but missing or fails.
    static bool open(WideView devicePath, WideView anchor = {}, std::string* error = nullptr);

    // "file:///host/path#anchor", with the characters a URL cannot hold percent-encoded.
    static std::string fileUrl(const std::string& hostPath, WideView anchor);

    // The line written in Report mode.
    static std::string reportLine(WideView devicePath, WideView anchor);
};

} // namespace device
