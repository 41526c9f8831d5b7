#pragma once
// The wait cursor, shown in the middle of the screen from construction to destruction while long
// work blocks the loop (loading a skin, reading a folder). It is painted and shown at once, since
// the loop will not run until the work is done. Nests.

namespace ui {

class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_shown = false;
};

} // namespace ui
