// Fading a month's background into the view: CTavrelImage::Blend of a 240 × 268 picture at level
// 50 over the off-screen screen picture, as every render of the month and day views does.
// Target: under 0.5 ms. Also the faded icon (a 16 × 16 blend with its key colour left out), which
// the month view draws for every later day of an event that lasts several days.

#include "views/TavrelImage.h"

#include "platform/gfx/PngWriter.h"

#include <benchmark/benchmark.h>

namespace {

// Loads `picture` into `image` through a resource table of its own.
void load(CTavrelImage& image, const gfx::Surface& picture)
{
    std::vector<std::uint8_t> bytes = gfx::PngWriter::encode(picture);
    gfx::ResourceTable table;
    table.add(u"IMAGE", 1, bytes);
    if (!image.LoadResource(1, &table))
        std::abort();
}

gfx::Surface gradient(int width, int height)
{
    gfx::Surface surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.setPixel(x, y, gfx::RGB(unsigned(x), unsigned(y), unsigned(x + y)));
    return surface;
}

void BM_BlendBackground(benchmark::State& state)
{
    CTavrelImage background;
    load(background, gradient(240, 268));
    gfx::Surface screen(240, 320, gfx::colours::white);
    gfx::Painter dc(screen);
    for (auto _ : state)
        benchmark::DoNotOptimize(background.Blend(dc, 0, 26, 50, -1, -1, CTavrelImage::TopLeftColour));
    state.SetItemsProcessed(state.iterations() * 240 * 268);
}
BENCHMARK(BM_BlendBackground)->Unit(benchmark::kMicrosecond);

void BM_BlendFadedIcon(benchmark::State& state)
{
    gfx::Surface icon(16, 16, gfx::RGB(255, 0, 255));
    icon.fillRect({3, 3, 13, 13}, gfx::RGB(200, 30, 30));
    CTavrelImage picture;
    load(picture, icon);
    gfx::Surface screen(240, 320, gfx::colours::white);
    gfx::Painter dc(screen);
    const gfx::Colour key = picture.GetPixel(0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(picture.Blend(dc, 100, 100, 45, 16, 16, key));
}
BENCHMARK(BM_BlendFadedIcon)->Unit(benchmark::kMicrosecond);

} // namespace
