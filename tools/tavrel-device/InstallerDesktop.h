#pragma once
// InstallerDesktop: the package installer's window system, where a setup library's questions (its
// message boxes) appear. In a window on the host's display, where the user answers them; or
// headless, where every box is written to standard error ("message-box: CAPTION: TEXT") and
// answered at once: with the answer the installer was given (--answer yes|no) when the box has
// that button, else with its default button. Without a display a window falls back to headless.
//
// It starts when first needed, so an installer run that asks nothing opens no window.

#include <iosfwd>
#include <memory>
#include <optional>

namespace ui {
class Desktop;
}

class InstallerDesktop {
public:
    // `headless`: never a window. `answer`: IDYES or IDNO for every box that has it (implies headless).
    InstallerDesktop(bool headless, std::optional<int> answer);
    ~InstallerDesktop();
    InstallerDesktop(const InstallerDesktop&) = delete;
    InstallerDesktop& operator=(const InstallerDesktop&) = delete;

    // Starts the window system unless it runs; notes on `err` when it has to go headless. False
    // when not even a headless one can be started.
    bool open(std::ostream& err);
    bool isOpen() const { return m_desktop != nullptr; }

private:
    bool m_headless;
    std::optional<int> m_answer;
    std::unique_ptr<ui::Desktop> m_desktop;
};
