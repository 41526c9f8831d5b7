#pragma once
// The backend without a window: the screen stays in the desktop's off-screen surface (a snapshot
// writes it as PNG), and input arrives from scripts and tests.

#include "platform/ui/Backend.h"

#include <condition_variable>
#include <mutex>

namespace ui {

class HeadlessBackend final : public Backend {
public:
    bool isHeadless() const override { return true; }
    void present(const gfx::Surface& screen, const gfx::Rect& dirty) override { ++m_presented; }
    void wait(std::optional<std::chrono::milliseconds> timeout) override;
    void wake() override;
    // How many times the screen was shown; for benchmarks and tests of the paint cycle.
    unsigned long presentedCount() const { return m_presented; }

private:
    std::mutex m_mutex;
    std::condition_variable m_wakeUp;
    bool m_woken = false;
    unsigned long m_presented = 0;
};

} // namespace ui
