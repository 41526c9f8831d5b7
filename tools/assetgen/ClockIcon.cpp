#include "ClockIcon.h"

#include "PixelArt.h"
#include "SmoothCanvas.h"

#include <cmath>
#include <numbers>

namespace assetgen {

namespace {

constexpr gfx::Colour rim = gfx::RGB(20, 50, 130);
constexpr gfx::Colour face = gfx::RGB(255, 255, 255);
constexpr gfx::Colour tick = gfx::RGB(90, 110, 170);
constexpr gfx::Colour hourHand = gfx::RGB(0, 0, 0);
constexpr gfx::Colour minuteHand = gfx::RGB(200, 20, 20);

// The face is 15 pixels across, so its centre is a pixel's centre and upright hands are crisp.
constexpr double centre = 7.5;

PointF onDial(double turns, double radius)
{
    const double angle = turns * 2 * std::numbers::pi;
    return {centre + std::sin(angle) * radius, centre - std::cos(angle) * radius};
}

} // namespace

gfx::Surface ClockIcon::draw(int index)
{
    const int hour = index / 4;
    const int quarter = index % 4;
    SmoothCanvas canvas(size, size, 8, KeyColour);
    canvas.fillEllipse(0, 0, 15, 15, rim);
    canvas.fillEllipse(1.2, 1.2, 13.8, 13.8, face);
    for (int mark = 0; mark < 12; mark += 3) {
        PointF outer = onDial(mark / 12.0, 5.9);
        PointF inner = onDial(mark / 12.0, 4.9);
        canvas.line(inner, outer, 1.0, tick);
    }
    const PointF middle{centre, centre};
    canvas.line(middle, onDial(quarter / 4.0, 5.6), 1.0, minuteHand);
    canvas.line(middle, onDial((hour + quarter / 4.0) / 12.0, 3.8), 1.8, hourHand);
    canvas.fillEllipse(centre - 0.9, centre - 0.9, centre + 0.9, centre + 0.9, hourHand);
    return canvas.reduceKeyed(KeyColour);
}

} // namespace assetgen
