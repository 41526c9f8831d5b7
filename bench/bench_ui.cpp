// The window platform's paint path: a view whose paint copies its off-screen picture to the window,
// as the calendar view does, composed onto the screen and shown (headless backend).

#include "platform/gfx/Painter.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/HeadlessBackend.h"

#include <benchmark/benchmark.h>

namespace {

class PictureView final : public ui::Window {
public:
    explicit PictureView(gfx::Size size) : m_picture(size.width, size.height)
    {
        for (int y = 0; y < size.height; ++y)
            for (int x = 0; x < size.width; ++x)
                m_picture.setPixel(x, y, gfx::rgb(x, y, (x * y) & 0xFF));
    }

protected:
    void onPaint(gfx::Painter& painter) override
    {
        painter.bitBlt(0, 0, rect().width(), rect().height(), m_picture, 0, 0);
    }

private:
    gfx::Surface m_picture;
};

// The calendar view (240 × 268 between the bars) copied to the window and shown.
void BM_ViewCopyToWindow(benchmark::State& state)
{
    ui::Desktop desktop(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual());
    ui::FrameWindow frame;
    frame.create(u"Tavrel");
    PictureView view(frame.viewRect().size());
    view.create(&frame, frame.viewRect());
    frame.setView(&view);
    desktop.runUntilIdle();
    for (auto _ : state) {
        view.invalidate();
        view.update();
    }
    benchmark::DoNotOptimize(desktop.screen().pixel(10, 40));
}
BENCHMARK(BM_ViewCopyToWindow)->Unit(benchmark::kMicrosecond);

// A full-screen window (240 × 320) copied and shown: nothing else is painted.
void BM_FullScreenCopyToWindow(benchmark::State& state)
{
    ui::Desktop desktop(std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual());
    PictureView screen({ui::Desktop::screenWidth, ui::Desktop::screenHeight});
    screen.createTopLevel({0, 0, ui::Desktop::screenWidth, ui::Desktop::screenHeight}, u"Screen", ui::Layer::Popup);
    desktop.runUntilIdle();
    for (auto _ : state) {
        screen.invalidate();
        desktop.updateNow();
    }
    benchmark::DoNotOptimize(desktop.screen().pixel(10, 40));
}
BENCHMARK(BM_FullScreenCopyToWindow)->Unit(benchmark::kMicrosecond);

} // namespace
