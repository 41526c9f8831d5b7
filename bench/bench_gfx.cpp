// Speed of the drawing layer's hot paths: the calendar renders whole views into an off-screen
// surface and copies it to the screen on every paint.

#include "platform/gfx/Painter.h"

#include <benchmark/benchmark.h>

using namespace gfx;

namespace {

// One line of 8-point text, as a day box or the agenda draws it (figure to reach: 20 µs).
void drawOneLineOfEightPointText(benchmark::State& state)
{
    Surface surface(240, 320, colours::white);
    Painter painter(surface);
    painter.selectFont(Font::fromPoints(u"Tahoma", 8));
    painter.setBackgroundMode(TRANSPARENT);
    Rect box{20, 100, 236, 112};
    for (auto _ : state) {
        Rect rect = box;
        benchmark::DoNotOptimize(painter.drawText(u"9:00a-10:00a Weekly meeting with the team", rect, DT_LEFT | DT_SINGLELINE));
    }
}
BENCHMARK(drawOneLineOfEightPointText);

// The same line measured with word wrap, as the day view does before drawing a box.
void measureWrappedText(benchmark::State& state)
{
    Surface surface(240, 320, colours::white);
    Painter painter(surface);
    painter.selectFont(Font::fromPoints(u"Tahoma", 8));
    for (auto _ : state) {
        Rect rect{20, 100, 120, 112};
        benchmark::DoNotOptimize(painter.drawText(u"9:00a-10:00a Weekly meeting with the team", rect, DT_WORDBREAK | DT_CALCRECT));
    }
}
BENCHMARK(measureWrappedText);

// Creating a font that is already in use, as every render does for its fonts.
void createCachedFont(benchmark::State& state)
{
    Font held = Font::fromPoints(u"Tahoma", 8);
    for (auto _ : state)
        benchmark::DoNotOptimize(Font::fromPoints(u"Tahoma", 8));
}
BENCHMARK(createCachedFont);

// A paint: the off-screen picture copied to the screen (figure to reach: 0.3 ms).
void copyFullScreen(benchmark::State& state)
{
    Surface screen(240, 320, colours::white);
    Surface offScreen(240, 320, 0xFFC0C0);
    Painter painter(screen);
    for (auto _ : state) {
        painter.bitBlt(0, 0, 240, 320, offScreen, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(copyFullScreen);

// The calendar view's background fill.
void fillCalendarView(benchmark::State& state)
{
    Surface screen(240, 320, colours::black);
    Painter painter(screen);
    for (auto _ : state) {
        painter.fillRect({0, 26, 240, 294}, Brush::solid(colours::white));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(fillCalendarView);

// A month title picture stretched into a quarter of the view, and a background to the view.
void stretchTitleToQuarter(benchmark::State& state)
{
    Surface screen(240, 320, colours::white);
    Surface title(240, 28, 0x808000);
    Painter painter(screen);
    for (auto _ : state) {
        painter.stretchBlt(0, 26, 120, 14, title, 0, 0, 240, 28);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(stretchTitleToQuarter);

void stretchBackgroundToView(benchmark::State& state)
{
    Surface screen(240, 320, colours::white);
    Surface background(160, 200, 0x808000);
    Painter painter(screen);
    for (auto _ : state) {
        painter.stretchBlt(0, 26, 240, 268, background, 0, 0, 160, 200);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(stretchBackgroundToView);

// A 16 × 16 event icon with its top-left colour left out.
void transparentIcon(benchmark::State& state)
{
    Surface screen(240, 320, colours::white);
    Surface icon(16, 16, colours::lightGrey);
    icon.fillRect({3, 3, 13, 13}, colours::red);
    Painter painter(screen);
    for (auto _ : state) {
        painter.transparentBlt(100, 100, 16, 16, icon, 0, 0, 16, 16, icon.pixel(0, 0));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(transparentIcon);

// The month grid's lines: 8 horizontal and 7 vertical across the view.
void drawMonthGrid(benchmark::State& state)
{
    Surface screen(240, 320, colours::white);
    Painter painter(screen);
    for (auto _ : state) {
        for (int row = 0; row < 7; ++row) {
            painter.moveTo(0, 66 + row * 38);
            painter.lineTo(240, 66 + row * 38);
        }
        for (int column = 0; column < 7; ++column) {
            painter.moveTo(column * 34, 66);
            painter.lineTo(column * 34, 294);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(drawMonthGrid);

} // namespace
