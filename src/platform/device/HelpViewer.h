#pragma once
// The device's help viewer, "\Windows\PegHelp.exe": started with "FILE.htm#ANCHOR" it shows that
// help page at that anchor. A page named without a folder is looked for in "\Windows" and then in
// the folder of the program that asks (where a package puts its help), as on the handheld.

#include "platform/device/WideText.h"

#include <optional>
#include <string>

namespace device {

class HelpViewer {
public:
    static constexpr const char16_t* DevicePath = u"\\Windows\\PegHelp.exe";

    // Shows the page of the command line through the DocumentOpener. False when no page is named
    // or found, or it cannot be shown.
    static bool show(WideView commandLine, std::string* error = nullptr);

    // The device path of the page a command line names, or nothing when there is none.
    static std::optional<WideString> findPage(WideView commandLine);
};

} // namespace device
