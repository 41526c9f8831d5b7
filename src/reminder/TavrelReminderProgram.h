#pragma once
// CTavrelReminderProgram: one run of the reminder program, from its command line to its exit code.
//
// A run starts the socket layer (its failure ends the run with a message), opens the reminder
// store, and collects the due reminders. When some are due it shows the reminder dialog; when the
// dialog closes with OK (nothing left due) — or when nothing was due — it registers the program's
// next start at the earliest pending reminder. After "View / Change" the dialog has arranged the
// next start itself. A dialog ended from outside (its window closed, a script that ran out while
// it was open) leaves the reminders as they are and brings the program back in 5 minutes, so no
// due reminder is forgotten.
//
// The window system is started only when something is to be shown: a run with nothing due opens
// no window and loads no fonts. Headless, message boxes are written to standard error and
// answered with their default button unless a script runs, and the reminder dialog, when no
// script drives it, is answered with OK, so a run never waits for a person who is not there.

#include "reminder/TavrelReminderCommandLine.h"

#include "platform/ui/Script.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ui {
class Backend;
class Desktop;
class ScriptRunner;
} // namespace ui

class CTavrelReminderProgram {
public:
    // Makes the window system's backend when the run first needs one (a window, or headless).
    using BackendFactory = std::function<std::unique_ptr<ui::Backend>()>;
    // A dialog ended from outside brings the program back this much later.
    static constexpr int ComeBackMinutes = 5;

    CTavrelReminderProgram(CTavrelReminderCommandLine commandLine, BackendFactory backends);
    ~CTavrelReminderProgram();

    // 0 normally (also when the next start could not be registered: the user was told); 1 when the
    // socket layer failed or a script action could not be done; 2 when the script cannot be read.
    int Run();

    // Whether this run opened the window system.
    bool OpenedDesktop() const { return m_openedDesktop; }

private:
    int RunReminders();
    ui::Desktop& EnsureDesktop();
    void Tell(const char16_t* text);
    void TearDown();

    CTavrelReminderCommandLine m_line;
    BackendFactory m_backends;
    std::vector<ui::ScriptAction> m_actions;
    std::unique_ptr<ui::Desktop> m_desktop;
    std::unique_ptr<ui::ScriptRunner> m_runner;
    bool m_openedDesktop = false;
};
