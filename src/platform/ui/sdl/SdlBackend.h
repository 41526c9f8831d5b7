#pragma once
// The backend with a host window: the 240 × 320 screen scaled by the zoom factor (nearest pixel,
// so the handheld's pixels stay sharp). The left mouse button is the pen; the right button puts
// the pen down and holds it at once (a tap-and-hold without the wait); keys become the handheld's
// virtual keys and typed text its characters. Closing the window sends WM_CLOSE to the program's
// main window (or ends the loop when there is none).

#include "platform/ui/Backend.h"

#include <atomic>
#include <memory>
#include <string>

namespace ui {

class SdlBackend final : public Backend {
public:
    // Nothing (and the reason) when no window can be opened (no display).
    static std::unique_ptr<SdlBackend> open(int zoom, const std::string& title, std::string* error);
    ~SdlBackend() override;

    bool isHeadless() const override { return false; }
    void present(const gfx::Surface& screen, const gfx::Rect& dirty) override;
    void wait(std::optional<std::chrono::milliseconds> timeout) override;
    void wake() override;
    // The host window's icon; the picture's top-left colour is left out, as the views leave it.
    void showIcon(const gfx::Surface* icon) override;

    // The virtual key code of an SDL key code, or 0.
    static int virtualKeyOf(int sdlKey);

private:
    SdlBackend() = default;
    void handleEvent(const void* event);

    struct Handles;
    std::unique_ptr<Handles> m_sdl;
    int m_zoom = 2;
    bool m_rightDown = false;
    bool m_leftDown = false;
};

} // namespace ui
