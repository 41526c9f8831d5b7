#pragma once
// Chooses the backend a program asked for on its command line: headless, or a host window at a
// zoom factor (2 unless told otherwise).

#include "platform/ui/Backend.h"

#include <memory>
#include <string>

namespace ui {

struct BackendOptions {
    bool headless = false;
    int zoom = 2;
    std::string title = "Tavrel";
};

// Nothing (and the reason) when a window was asked for and cannot be opened.
std::unique_ptr<Backend> createBackend(const BackendOptions& options, std::string* error = nullptr);

} // namespace ui
