#include "platform/gfx/PainterStateSaver.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace gfx;

namespace {

class PainterStateSaverTest : public ::testing::Test {
protected:
    Surface surface {40, 30, colours::white};
    Painter painter {surface};
};

} // namespace

TEST_F(PainterStateSaverTest, NestedSaversEachBringBackTheStateTheyFound)
{
    painter.selectPen(Pen::solid(colours::green));
    {
        PainterStateSaver outer(painter);
        painter.selectPen(Pen::solid(colours::red));
        painter.setOrigin({5, 5});
        {
            PainterStateSaver inner(painter);
            painter.selectPen(Pen::solid(colours::blue));
            painter.intersectClipRect({0, 0, 3, 3});
            painter.moveTo(2, 2);
        }
        EXPECT_EQ(painter.pen(), Pen::solid(colours::red));
        EXPECT_EQ(painter.clipRect(), surface.rect().translated(-5, -5));
        EXPECT_EQ(painter.currentPosition(), Point {});
    }
    EXPECT_EQ(painter.pen(), Pen::solid(colours::green)) << "what was selected before, not the default";
    EXPECT_EQ(painter.origin(), Point {});
    // Nothing is left on the painter's stack: one more restore changes nothing.
    painter.setTextColour(colours::red);
    painter.restore();
    EXPECT_EQ(painter.textColour(), colours::red);
}

TEST_F(PainterStateSaverTest, AnExceptionWhileDrawingStillRestores)
{
    EXPECT_THROW(
        {
            PainterStateSaver saved(painter);
            painter.setBackgroundMode(TRANSPARENT);
            painter.setClipRect({0, 0, 1, 1});
            throw std::runtime_error("picture failed");
        },
        std::runtime_error);
    EXPECT_EQ(painter.backgroundMode(), OPAQUE);
    EXPECT_EQ(painter.clipRect(), surface.rect());
}
