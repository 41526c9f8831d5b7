#pragma once
// CQoLogConfigProgram: one run of QoLog Config, from its command line to its exit code: the script
// is read, the device selected, the window system started, the dialog run modally, and when it
// closes the program ends. A script plays
// into the dialog; headless, a script that runs out with the dialog still open closes it without
// writing anything.

#include "logconfig/QoLogConfigCommandLine.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {
class Backend;
}

class CQoLogConfigProgram {
public:
    // The window system's backend for the command line: a window, or headless. Nothing, with the
    // reason, when a window was asked for and none can be opened.
    using BackendFactory = std::function<std::unique_ptr<ui::Backend>(bool headless, std::string* reason)>;

    CQoLogConfigProgram(CQoLogConfigCommandLine commandLine, BackendFactory backends);

    // 0 when the dialog has closed, however it closed; 1 when the device folder cannot be used, no
    // window can be opened and no script could answer the dialog headless, or a script line failed;
    // 2 when the script cannot be read.
    int Run();

private:
    CQoLogConfigCommandLine m_line;
    BackendFactory m_backends;
};
