#pragma once
// Trace lines of the control channel: to the debugger output always, and to the program's log
// file when its logging switch is on.

#include "common/QoString.h"

class CTavrelControlLog {
public:
    static void Write(const CQoString& line);
};
