#pragma once
// Where the screen is shown and input comes from. The SDL backend (sdl/) shows the 240 × 320
// screen in a host window and turns the mouse and keyboard into pen and key input; the headless
// backend shows nothing and takes its input from scripts and tests through Desktop::injectInput.

#include "platform/gfx/Rect.h"
#include "platform/gfx/Surface.h"

#include <chrono>
#include <optional>

namespace ui {

class Desktop;

class Backend {
public:
    virtual ~Backend() = default;

    virtual bool isHeadless() const = 0;
    // Called once when the desktop starts with it; input goes to desktop.injectInput().
    virtual void attach(Desktop& desktop) { m_desktop = &desktop; }
    // Shows the screen after `dirty` (screen pixels) was repainted.
    virtual void present(const gfx::Surface& screen, const gfx::Rect& dirty) = 0;
    // Waits for host input or wake(), at most `timeout` (none: no limit), and hands any host
    // input to the desktop. Called on the user-interface thread only.
    virtual void wait(std::optional<std::chrono::milliseconds> timeout) = 0;
    // Ends a wait early; any thread.
    virtual void wake() = 0;
    // The icon of the foreground program (its foreground window's), or none: the host window's.
    virtual void showIcon(const gfx::Surface* icon) {}

protected:
    Desktop* m_desktop = nullptr;
};

} // namespace ui
