#pragma once
// CTavrelProgram: the calendar program from its command line to its exit code, on a desktop with
// the backend main() chose (a window, or none).
//
// It installs what the program's parts need of the user interface — the appointment editor
// dialog, the icon rules' message box, where documents are shown — runs the application's
// start-up, then the message loop, then the application's exit, and takes the desktop down again.
//
// Headless (no window): documents are only named on standard error, every message box is written
// to standard error (the platform does that), and a message box nobody can answer — at start-up,
// or whenever no script runs — is answered with its default button, so the program never waits
// for a person who is not there. A script drives the input once start-up has succeeded (a failed
// start-up ends the program with exit code 1); its `idle` waits, beyond the platform's own
// condition, until the view has taken in the reader's pass for what it shows. `--snapshot` writes
// the screen as PNG when the script has ended or, without a script, once start-up has settled,
// and ends the program. Without a snapshot a headless program ends when its script runs out; in a
// window it stays for the person.
//
// SIGTERM and SIGINT are the "Exit" command in every mode (window, headless, script, control
// mode): the frame gets command 32791 on the user-interface thread, the exit step sends
// "OnCalendarClose" and the application saves on its way out. A second signal ends the program at
// once.

#include "shell/TavrelCommandLine.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace ui {
class Backend;
class TimeSource;
} // namespace ui

class CTavrelApp;

class CTavrelProgram {
public:
    // An `idle` that waits longer than this for the reader's pass goes on anyway, with a note.
    static constexpr std::chrono::seconds SettleLimit{15};

    explicit CTavrelProgram(CTavrelCommandLine commandLine);

    // The exit code: 0 normally, 1 when start-up failed or the snapshot could not be written, 2
    // when the script cannot be read.
    int Run(std::unique_ptr<ui::Backend> backend);

private:
    // Whether the view shows what the reader last read for it (or there is no reader to wait for).
    bool IsSettled(CTavrelApp& app);

    CTavrelCommandLine m_line;
    std::optional<std::chrono::steady_clock::time_point> m_waitingSince;
};
