#pragma once
// What the running program knows of itself on the device: its device path
// ("\Program Files\Tavrel\Tavrel.exe"), which names its log file and its program folder.

#include "platform/device/WideText.h"

namespace device {

class RunningProgram {
public:
    // Each program sets its device path first thing in main().
    static void setDevicePath(WideView path);
    static WideString devicePath();   // "\Program Files\Tavrel\Tavrel.exe"
    static WideString folder();       // "\Program Files\Tavrel"
    static WideString fileName();     // "Tavrel.exe"
};

} // namespace device
