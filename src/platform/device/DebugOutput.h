#pragma once
// The debugger output of the handheld (OutputDebugString). Text goes to standard error when
// TAVREL_DEBUG_OUTPUT is set in the environment, and to an observer that tests may install.

#include "platform/device/WideText.h"

#include <functional>

namespace device {

void debugOutput(WideView text);

// Installs an observer of every debug text (replacing any earlier one); pass nullptr to remove it.
void setDebugOutputObserver(std::function<void(WideView)> observer);

} // namespace device
