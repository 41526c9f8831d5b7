#pragma once
// Starting a device program, as the handheld's CreateProcess does: the device path is looked up in
// the program table (ProgramTable) and its host program is started detached, on the same device
// ("--device ROOT" comes first), with the command line split into arguments the way the handheld's
// C runtime splits it. A pinned device clock (TAVREL_CLOCK) is handed on at the time it shows now, so
// the started program goes on from there instead of starting over at the pinned time.

#include "platform/device/WideText.h"

#include <string>
#include <vector>

namespace device {

class ProcessStart {
public:
    // False with ERROR_FILE_NOT_FOUND when no program is installed under the path, or when its
    // host program cannot be executed (the reason in `error`).
    static bool start(WideView devicePath, WideView commandLine, std::string* error = nullptr);

    // Blanks separate arguments; double quotes group blanks into one and are removed; a
    // backslash before a double quote makes it literal; other backslashes stand as they are
    // (device paths keep theirs).
    static std::vector<std::string> splitCommandLine(WideView commandLine);
};

} // namespace device
