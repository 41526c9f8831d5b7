#include "platform/gfx/Painter.h"

#include "SurfaceProbe.h"

#include <gtest/gtest.h>

using namespace gfx;
using gfx_test::countColour;
using gfx_test::inkBounds;
using gfx_test::picture;

namespace {

constexpr Colour paper = colours::white;
constexpr Colour ink = colours::black;

class PainterShapes : public ::testing::Test {
protected:
    Surface surface{40, 30, paper};
    Painter painter{surface};
};

TEST(RectTest, EdgesFollowTheHandheldsRules)
{
    Rect r{2, 3, 10, 8};
    EXPECT_EQ(r.width(), 8);
    EXPECT_EQ(r.height(), 5);
    EXPECT_TRUE(r.contains(2, 3));
    EXPECT_TRUE(r.contains(9, 7));
    EXPECT_FALSE(r.contains(10, 7)) << "the right column is outside";
    EXPECT_FALSE(r.contains(9, 8)) << "the bottom row is outside";
    EXPECT_EQ(r.intersected({8, 0, 20, 4}), (Rect{8, 3, 10, 4}));
    EXPECT_EQ(r.intersected({10, 3, 20, 8}), Rect{}) << "touching rectangles do not intersect";
    EXPECT_EQ(r.united(Rect{}), r);
    EXPECT_EQ(r.united({0, 0, 1, 1}), (Rect{0, 0, 10, 8}));
    EXPECT_TRUE((Rect{5, 5, 5, 9}).isEmpty());
}

TEST(ColourTest, RedIsInTheLowByte)
{
    Colour c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(GetRValue(c), 0x12u);
    EXPECT_EQ(GetGValue(c), 0x34u);
    EXPECT_EQ(GetBValue(c), 0x56u);
    EXPECT_EQ(RGB(0xC0, 0xC0, 0xFF), 0xFFC0C0u) << "the calendar's filler colour";
}

TEST_F(PainterShapes, HorizontalAndVerticalLinesLeaveOutTheirEndPoint)
{
    painter.moveTo(2, 5);
    painter.lineTo(8, 5);
    for (int x = 2; x < 8; ++x)
        EXPECT_EQ(surface.pixel(x, 5), ink) << x;
    EXPECT_EQ(surface.pixel(8, 5), paper);
    EXPECT_EQ(surface.pixel(1, 5), paper);
    EXPECT_EQ(painter.currentPosition(), (Point{8, 5}));

    // Drawn backwards the start is in and the end, now at the low end, is out.
    painter.moveTo(30, 10);
    painter.lineTo(24, 10);
    EXPECT_EQ(countColour(surface, ink, {20, 10, 40, 11}), 6);
    EXPECT_EQ(surface.pixel(30, 10), ink);
    EXPECT_EQ(surface.pixel(24, 10), paper);

    painter.moveTo(35, 12);
    painter.lineTo(35, 20);
    EXPECT_EQ(countColour(surface, ink, {35, 0, 36, 30}), 8);
    EXPECT_EQ(surface.pixel(35, 12), ink);
    EXPECT_EQ(surface.pixel(35, 20), paper);

    painter.moveTo(37, 20);
    painter.lineTo(37, 14);
    EXPECT_EQ(surface.pixel(37, 20), ink);
    EXPECT_EQ(surface.pixel(37, 14), paper);
    EXPECT_EQ(countColour(surface, ink, {37, 0, 38, 30}), 6);
}

TEST_F(PainterShapes, DiagonalLinesStepOnePixelPerColumn)
{
    painter.moveTo(0, 0);
    painter.lineTo(5, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(surface.pixel(i, i), ink) << i;
    EXPECT_EQ(surface.pixel(5, 5), paper);
    EXPECT_EQ(countColour(surface, ink), 5);

    // The calendar's cross over a cell: corner to corner both ways.
    surface.fill(paper);
    painter.moveTo(10, 20);
    painter.lineTo(20, 10);
    EXPECT_EQ(surface.pixel(10, 20), ink);
    EXPECT_EQ(surface.pixel(19, 11), ink);
    EXPECT_EQ(surface.pixel(20, 10), paper);

    // A shallow line: one pixel in each column, rising steadily, end left out.
    surface.fill(paper);
    painter.moveTo(0, 0);
    painter.lineTo(10, 3);
    int previousY = 0;
    for (int x = 0; x < 10; ++x) {
        int found = -1;
        for (int y = 0; y < 5; ++y)
            if (surface.pixel(x, y) == ink) {
                EXPECT_EQ(found, -1) << "two pixels in column " << x;
                found = y;
            }
        ASSERT_NE(found, -1) << x;
        EXPECT_GE(found, previousY);
        EXPECT_LE(found, 3);
        previousY = found;
    }
    EXPECT_EQ(countColour(surface, ink), 10);
    EXPECT_EQ(surface.pixel(10, 3), paper);
}

TEST_F(PainterShapes, PolylineJoinsSegmentsAndLeavesOutOnlyTheLastPoint)
{
    Point points[] = {{2, 2}, {8, 2}, {8, 6}, {2, 6}};
    painter.polyline(points);
    EXPECT_EQ(surface.pixel(8, 2), ink) << "inner corners are drawn";
    EXPECT_EQ(surface.pixel(8, 6), ink);
    EXPECT_EQ(surface.pixel(2, 6), paper) << "the last point is left out";
    EXPECT_EQ(countColour(surface, ink), 6 + 4 + 6);
}

TEST_F(PainterShapes, WidePensAndTheNullPen)
{
    painter.selectPen(Pen::solid(colours::red, 3));
    painter.moveTo(5, 10);
    painter.lineTo(15, 10);
    // A square of the pen's width centred on every point of the line.
    EXPECT_EQ(inkBounds(surface, paper), (Rect{4, 9, 16, 12}));
    EXPECT_EQ(countColour(surface, colours::red), 12 * 3);

    surface.fill(paper);
    painter.selectPen(Pen::null());
    painter.selectBrush(Brush::solid(colours::blue));
    painter.moveTo(0, 0);
    painter.lineTo(30, 20);
    painter.rectangle(1, 1, 20, 20);
    EXPECT_EQ(countColour(surface, paper), 40 * 30 - 18 * 18) << "only the brush fill, one short each way";
}

TEST_F(PainterShapes, DashedPenLeavesGapsThatOpaqueModeFills)
{
    painter.selectPen(Pen(PS_DASH, 1, ink));
    painter.setBackgroundMode(TRANSPARENT);
    painter.moveTo(0, 5);
    painter.lineTo(30, 5);
    EXPECT_EQ(countColour(surface, ink, {0, 5, 18, 6}), 18);
    EXPECT_EQ(countColour(surface, paper, {18, 5, 24, 6}), 6);
    EXPECT_EQ(countColour(surface, ink, {24, 5, 30, 6}), 6);

    painter.setBackgroundMode(OPAQUE);
    painter.setBackgroundColour(colours::green);
    painter.moveTo(0, 8);
    painter.lineTo(30, 8);
    EXPECT_EQ(countColour(surface, colours::green, {0, 8, 40, 9}), 6);
}

TEST_F(PainterShapes, RectangleDrawsItsBorderInsideAndFillsTheInside)
{
    painter.selectBrush(Brush::solid(colours::red));
    painter.rectangle(2, 2, 10, 8);
    EXPECT_EQ(inkBounds(surface, paper), (Rect{2, 2, 10, 8})) << picture(surface, {0, 0, 12, 10}, ink);
    for (int x = 2; x < 10; ++x) {
        EXPECT_EQ(surface.pixel(x, 2), ink);
        EXPECT_EQ(surface.pixel(x, 7), ink);
    }
    for (int y = 2; y < 8; ++y) {
        EXPECT_EQ(surface.pixel(2, y), ink);
        EXPECT_EQ(surface.pixel(9, y), ink);
    }
    EXPECT_EQ(countColour(surface, colours::red), 6 * 4);
    EXPECT_EQ(countColour(surface, colours::red, {3, 3, 9, 7}), 6 * 4);
}

TEST_F(PainterShapes, RectangleWithoutPenOrBrush)
{
    // The null pen: the brush covers one column and row less, as on the handheld.
    painter.selectPen(Pen::null());
    painter.selectBrush(Brush::solid(colours::red));
    painter.rectangle(2, 2, 10, 8);
    EXPECT_EQ(inkBounds(surface, paper), (Rect{2, 2, 9, 7}));
    EXPECT_EQ(countColour(surface, colours::red), 7 * 5);

    // The hollow brush: only the border.
    surface.fill(paper);
    painter.selectPen(Pen::solid(ink));
    painter.selectBrush(Brush::null());
    painter.rectangle(2, 2, 10, 8);
    EXPECT_EQ(countColour(surface, ink), 8 * 2 + 4 * 2);
    EXPECT_EQ(countColour(surface, paper, {3, 3, 9, 7}), 6 * 4);

    // A wide pen stays inside the bounds too; given backwards, the corners are put in order.
    surface.fill(paper);
    painter.selectPen(Pen::solid(ink, 2));
    painter.selectBrush(Brush::solid(colours::red));
    painter.rectangle(12, 10, 2, 2);
    EXPECT_EQ(inkBounds(surface, paper), (Rect{2, 2, 12, 10}));
    EXPECT_EQ(countColour(surface, colours::red), 6 * 4);
}

TEST_F(PainterShapes, FillRectCoversExactlyTheRectangle)
{
    painter.fillRect({3, 4, 9, 7}, Brush::solid(colours::blue));
    EXPECT_EQ(inkBounds(surface, paper), (Rect{3, 4, 9, 7}));
    EXPECT_EQ(countColour(surface, colours::blue), 6 * 3);
    painter.fillRect({0, 0, 40, 30}, Brush::null());
    EXPECT_EQ(countColour(surface, colours::blue), 18) << "the hollow brush fills nothing";
    painter.fillRect({5, 5, 5, 20}, colours::green);
    EXPECT_EQ(countColour(surface, colours::green), 0) << "an empty rectangle fills nothing";

    painter.frameRect({20, 10, 26, 14}, Brush::solid(colours::red));
    EXPECT_EQ(countColour(surface, colours::red), 6 * 2 + 2 * 2);
    EXPECT_EQ(inkBounds(surface.cropped({15, 0, 40, 30}), paper), (Rect{5, 10, 11, 14}));
}

TEST_F(PainterShapes, EllipseStaysInsideItsBoundsAndIsSymmetric)
{
    painter.selectBrush(Brush::solid(colours::green));
    painter.ellipse({4, 3, 25, 18});
    EXPECT_EQ(inkBounds(surface, paper), (Rect{4, 3, 25, 18}));
    EXPECT_GT(countColour(surface, colours::green), 0);
    EXPECT_EQ(surface.pixel(4, 3), paper) << "corners are outside the ellipse";
    for (int y = 3; y < 18; ++y)
        for (int x = 4; x < 25; ++x) {
            EXPECT_EQ(surface.pixel(x, y), surface.pixel(4 + 24 - x, y)) << x << "," << y;
            EXPECT_EQ(surface.pixel(x, y), surface.pixel(x, 3 + 17 - y)) << x << "," << y;
        }
}

TEST_F(PainterShapes, PolygonFillsInsideAndOutlinesThroughEveryPoint)
{
    // A drop-down arrow: a triangle pointing down.
    Point arrow[] = {{10, 10}, {20, 10}, {15, 15}};
    painter.selectPen(Pen::null());
    painter.selectBrush(Brush::solid(colours::red));
    painter.polygon(arrow);
    EXPECT_EQ(inkBounds(surface, paper), (Rect{10, 10, 20, 15})) << picture(surface, {8, 8, 22, 17}, colours::red);
    EXPECT_EQ(countColour(surface, colours::red, {10, 10, 20, 11}), 10) << "the top row is whole";
    for (int y = 10; y < 15; ++y)
        for (int x = 10; x < 20; ++x)
            EXPECT_EQ(surface.pixel(x, y), surface.pixel(29 - x, y)) << "symmetric at " << x << "," << y;

    // A rectangle's corners fill exactly what fillRect fills.
    surface.fill(paper);
    Point box[] = {{3, 4}, {9, 4}, {9, 7}, {3, 7}};
    painter.polygon(box);
    EXPECT_EQ(inkBounds(surface, paper), (Rect{3, 4, 9, 7}));
    EXPECT_EQ(countColour(surface, colours::red), 6 * 3);

    // With a pen the outline closes back to the first point, which is drawn too.
    surface.fill(paper);
    painter.selectPen(Pen::solid(ink));
    painter.selectBrush(Brush::null());
    Point square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
    painter.polygon(square);
    EXPECT_EQ(countColour(surface, ink), 24);
    EXPECT_EQ(inkBounds(surface, paper), (Rect{2, 2, 9, 9}));
}

TEST_F(PainterShapes, FocusRectangleInvertsEveryOtherPixelAndUndoesItself)
{
    painter.fillRect({0, 0, 40, 30}, colours::black);
    painter.drawFocusRect({5, 5, 15, 11});
    EXPECT_EQ(countColour(surface, colours::white), (10 * 2 + 4 * 2) / 2);
    EXPECT_EQ(inkBounds(surface, colours::black), (Rect{5, 5, 15, 11}));
    EXPECT_EQ(surface.pixel(5, 5), colours::white);
    EXPECT_EQ(surface.pixel(6, 5), colours::black);
    painter.drawFocusRect({5, 5, 15, 11});
    EXPECT_EQ(countColour(surface, colours::black), 40 * 30);
}

TEST_F(PainterShapes, EveryOperationHonoursTheClipRectangle)
{
    Rect clip{10, 5, 20, 15};
    painter.setClipRect(clip);
    EXPECT_EQ(painter.clipRect(), clip);
    painter.fillRect({0, 0, 40, 30}, colours::red);
    painter.moveTo(0, 0);
    painter.lineTo(39, 29);
    painter.rectangle(5, 2, 30, 25);
    painter.ellipse({0, 0, 40, 30});
    painter.setPixel(2, 2, colours::blue);
    Point triangle[] = {{0, 0}, {40, 0}, {20, 30}};
    painter.polygon(triangle);
    painter.drawFocusRect({0, 0, 40, 30});
    painter.textOut(0, 8, u"Clipped text");
    Surface source(40, 30, colours::blue);
    painter.bitBlt(0, 0, 40, 30, source, 0, 0);
    painter.stretchBlt(0, 0, 40, 30, source, 0, 0, 10, 10);
    painter.transparentBlt(0, 0, 40, 30, source, 0, 0, 20, 20, colours::red);
    EXPECT_EQ(inkBounds(surface, paper), clip);
    EXPECT_EQ(painter.getPixel(2, 2), CLR_INVALID) << "reads outside the clip answer CLR_INVALID";
    EXPECT_EQ(painter.setPixel(2, 2, ink), CLR_INVALID);
    EXPECT_EQ(painter.getPixel(12, 6), colours::blue);

    painter.intersectClipRect({15, 0, 40, 30});
    EXPECT_EQ(painter.clipRect(), (Rect{15, 5, 20, 15}));
    painter.resetClip();
    EXPECT_EQ(painter.clipRect(), surface.rect());
    painter.setClipRect({-50, -50, 100, 100});
    EXPECT_EQ(painter.clipRect(), surface.rect()) << "the clip never leaves the surface";
}

TEST_F(PainterShapes, OriginMovesDrawingAndClipTogether)
{
    painter.setOrigin({10, 5});
    painter.setPixel(0, 0, ink);
    EXPECT_EQ(surface.pixel(10, 5), ink);
    EXPECT_EQ(painter.getPixel(0, 0), ink);
    painter.setClipRect({0, 0, 5, 5});
    painter.fillRect({-10, -10, 50, 50}, colours::red);
    EXPECT_EQ(inkBounds(surface, paper), (Rect{10, 5, 15, 10}));
    EXPECT_EQ(painter.clipRect(), (Rect{0, 0, 5, 5}));
    painter.moveTo(0, 2);
    painter.lineTo(3, 2);
    EXPECT_EQ(surface.pixel(12, 7), ink);
}

TEST_F(PainterShapes, SaveAndRestoreBringBackTheWholeState)
{
    painter.save();
    painter.selectPen(Pen::solid(colours::red));
    painter.selectBrush(Brush::null());
    painter.setTextColour(colours::blue);
    painter.setBackgroundMode(TRANSPARENT);
    painter.setOrigin({5, 5});
    painter.setClipRect({0, 0, 3, 3});
    painter.restore();
    EXPECT_EQ(painter.pen(), Pen());
    EXPECT_EQ(painter.brush(), Brush());
    EXPECT_EQ(painter.textColour(), colours::black);
    EXPECT_EQ(painter.backgroundMode(), OPAQUE);
    EXPECT_EQ(painter.origin(), Point{});
    EXPECT_EQ(painter.clipRect(), surface.rect());
    painter.restore(); // one too many: nothing happens
    EXPECT_EQ(painter.clipRect(), surface.rect());

    Pen previous = painter.selectPen(Pen::solid(colours::green));
    EXPECT_EQ(previous, Pen::solid(colours::black)) << "select answers with what was selected";
    EXPECT_EQ(painter.setBackgroundMode(42), OPAQUE);
    EXPECT_EQ(painter.backgroundMode(), OPAQUE) << "an unknown mode is ignored";
}

} // namespace
