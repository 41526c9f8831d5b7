#include "platform/gfx/Painter.h"

#include "SurfaceProbe.h"

#include <gtest/gtest.h>

using namespace gfx;
using gfx_test::countColour;
using gfx_test::inkBounds;

namespace {

constexpr Colour paper = colours::white;

// A picture whose every pixel is different: red = x, green = y.
Surface gradient(int width, int height)
{
    Surface surface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.setPixel(x, y, RGB(unsigned(x), unsigned(y), 0x80));
    return surface;
}

TEST(PainterCopy, BitBltCopiesTheRectangleAndLeavesMissingSourceAlone)
{
    Surface target(20, 20, paper);
    Painter painter(target);
    Surface source = gradient(8, 8);
    EXPECT_TRUE(painter.bitBlt(5, 6, 4, 3, source, 2, 1));
    EXPECT_EQ(inkBounds(target, paper), (Rect{5, 6, 9, 9}));
    EXPECT_EQ(target.pixel(5, 6), source.pixel(2, 1));
    EXPECT_EQ(target.pixel(8, 8), source.pixel(5, 3));

    // Half of the source lies beyond its edge: only the existing half arrives.
    target.fill(paper);
    painter.bitBlt(0, 0, 10, 10, source, 4, -2);
    EXPECT_EQ(inkBounds(target, paper), (Rect{0, 2, 4, 10}));
    EXPECT_EQ(target.pixel(0, 2), source.pixel(4, 0));
}

TEST(PainterCopy, CopyWithinOneSurfaceSurvivesOverlap)
{
    Surface surface = gradient(16, 4);
    Surface before = surface;
    Painter painter(surface);
    painter.bitBlt(1, 0, 15, 4, surface, 0, 0); // scroll right by one pixel
    for (int y = 0; y < 4; ++y)
        for (int x = 1; x < 16; ++x)
            EXPECT_EQ(surface.pixel(x, y), before.pixel(x - 1, y)) << x << "," << y;
}

TEST(PainterCopy, RasterOperationsCombineSourceDestinationAndBrush)
{
    Surface target(4, 1, 0x0F0F0F);
    Surface source(4, 1, 0x00FF33);
    Painter painter(target);
    painter.bitBlt(0, 0, 1, 1, source, 0, 0, SRCAND);
    painter.bitBlt(1, 0, 1, 1, source, 0, 0, SRCINVERT);
    painter.bitBlt(2, 0, 1, 1, source, 0, 0, SRCPAINT);
    painter.bitBlt(3, 0, 1, 1, source, 0, 0, NOTSRCCOPY);
    EXPECT_EQ(target.pixel(0, 0), 0x000F03u);
    EXPECT_EQ(target.pixel(1, 0), 0x0FF03Cu);
    EXPECT_EQ(target.pixel(2, 0), 0x0FFF3Fu);
    EXPECT_EQ(target.pixel(3, 0), 0xFF00CCu) << "the unused top byte stays 0";

    painter.selectBrush(Brush::solid(colours::red));
    EXPECT_TRUE(painter.patBlt(0, 0, 2, 1, PATCOPY));
    EXPECT_TRUE(painter.patBlt(2, 0, 1, 1, BLACKNESS));
    EXPECT_TRUE(painter.patBlt(3, 0, 1, 1, DSTINVERT));
    EXPECT_EQ(target.pixel(0, 0), colours::red);
    EXPECT_EQ(target.pixel(1, 0), colours::red);
    EXPECT_EQ(target.pixel(2, 0), colours::black);
    EXPECT_EQ(target.pixel(3, 0), 0x00FF33u);
    EXPECT_FALSE(painter.bitBlt(0, 0, 1, 1, source, 0, 0, 0x12345678)) << "an unknown operation is refused";
}

TEST(PainterCopy, StretchBltRepeatsAndDropsPixelsEvenly)
{
    Surface source = gradient(4, 2);
    Surface target(8, 4, paper);
    Painter painter(target);
    EXPECT_TRUE(painter.stretchBlt(0, 0, 8, 4, source, 0, 0, 4, 2));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(target.pixel(x, y), source.pixel(x / 2, y / 2)) << x << "," << y;

    // Shrinking 32 × 16 to 16 × 8 takes every other pixel.
    Surface large = gradient(32, 16);
    Surface small(16, 8, paper);
    Painter(small).stretchBlt(0, 0, 16, 8, large, 0, 0, 32, 16);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(small.pixel(x, y), large.pixel(2 * x, 2 * y));

    // A negative width mirrors.
    Surface mirrored(4, 2, paper);
    Painter(mirrored).stretchBlt(3, 0, -4, 2, source, 0, 0, 4, 2);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(mirrored.pixel(x, 0), source.pixel(3 - x, 0));

    EXPECT_FALSE(painter.stretchBlt(0, 0, 8, 4, source, 0, 0, 0, 2)) << "an empty source is refused";
}

TEST(PainterCopy, TransparentBltSkipsTheKeyColour)
{
    Surface icon(4, 4, colours::lightGrey);
    icon.fillRect({1, 1, 3, 3}, colours::red);
    Surface target(10, 10, colours::blue);
    Painter painter(target);
    EXPECT_TRUE(painter.transparentBlt(2, 2, 4, 4, icon, 0, 0, 4, 4, icon.pixel(0, 0)));
    EXPECT_EQ(countColour(target, colours::red), 4);
    EXPECT_EQ(inkBounds(target, colours::blue), (Rect{3, 3, 5, 5}));

    // Stretched to twice the size, the kept part doubles too.
    target.fill(colours::blue);
    painter.transparentBlt(0, 0, 8, 8, icon, 0, 0, 4, 4, colours::lightGrey);
    EXPECT_EQ(inkBounds(target, colours::blue), (Rect{2, 2, 6, 6}));
    EXPECT_EQ(countColour(target, colours::lightGrey), 0);

    // The key compares colours only; a key given with a top byte still matches.
    target.fill(colours::blue);
    painter.transparentBlt(0, 0, 4, 4, icon, 0, 0, 4, 4, 0xFF000000u | colours::lightGrey);
    EXPECT_EQ(countColour(target, colours::lightGrey), 0);
}

TEST(PainterCopy, SurfaceLimitsAndCrops)
{
    EXPECT_TRUE(Surface(-1, 5).isEmpty());
    EXPECT_TRUE(Surface(Surface::maximumSide + 1, 1).isEmpty());
    EXPECT_TRUE(Surface(16000, 16000).isEmpty()) << "too many pixels in all";
    Surface empty;
    EXPECT_EQ(empty.pixel(0, 0), CLR_INVALID);
    empty.setPixel(0, 0, colours::red); // ignored, no crash
    Painter painter(empty);
    painter.fillRect({0, 0, 10, 10}, colours::red);
    painter.textOut(0, 0, u"nothing to draw on");

    Surface picture = gradient(10, 10);
    Surface part = picture.cropped({8, 8, 20, 20});
    EXPECT_EQ(part.size(), (Size{2, 2}));
    EXPECT_EQ(part.pixel(1, 1), picture.pixel(9, 9));
    EXPECT_EQ(picture.pixel(10, 0), CLR_INVALID);
}

} // namespace
