#include "SeasonMotifs.h"

#include <cmath>
#include <iterator>
#include <numbers>
#include <vector>

namespace assetgen {

namespace {

using gfx::RGB;
constexpr double pi = std::numbers::pi;

PointF polar(PointF c, double radius, double turns)
{
    return {c.x + std::sin(turns * 2 * pi) * radius, c.y - std::cos(turns * 2 * pi) * radius};
}

std::vector<PointF> starPoints(PointF c, double outer, double inner, int points)
{
    std::vector<PointF> corners;
    for (int i = 0; i < points * 2; ++i)
        corners.push_back(polar(c, i % 2 ? inner : outer, double(i) / (points * 2)));
    return corners;
}

void snowflake(SmoothCanvas& canvas, PointF c, double r)
{
    const gfx::Colour ice = RGB(235, 245, 255);
    for (int arm = 0; arm < 6; ++arm) {
        const double t = arm / 6.0;
        canvas.line(c, polar(c, r, t), r * 0.16, ice);
        const PointF branch = polar(c, r * 0.55, t);
        canvas.line(branch, polar(branch, r * 0.35, t + 1 / 12.0), r * 0.12, ice);
        canvas.line(branch, polar(branch, r * 0.35, t - 1 / 12.0), r * 0.12, ice);
    }
}

void heart(SmoothCanvas& canvas, PointF c, double r, gfx::Colour colour)
{
    canvas.fillEllipse(c.x - r, c.y - r * 0.75, c.x + r * 0.05, c.y + r * 0.25, colour);
    canvas.fillEllipse(c.x - r * 0.05, c.y - r * 0.75, c.x + r, c.y + r * 0.25, colour);
    canvas.fillPolygon({{c.x - r * 0.97, c.y - 0.1 * r}, {c.x + r * 0.97, c.y - 0.1 * r}, {c.x, c.y + r * 0.95}}, colour);
}

void clover(SmoothCanvas& canvas, PointF c, double r)
{
    const gfx::Colour leaf = RGB(120, 230, 120);
    canvas.line({c.x, c.y + r * 0.1}, {c.x + r * 0.35, c.y + r}, r * 0.16, RGB(60, 160, 60));
    for (int i = 0; i < 3; ++i) {
        const PointF at = polar({c.x, c.y - r * 0.05}, r * 0.45, i / 3.0);
        heart(canvas, at, r * 0.5, leaf);
    }
}

void umbrella(SmoothCanvas& canvas, PointF c, double r)
{
    const gfx::Colour cloth = RGB(255, 220, 90);
    std::vector<PointF> canopy;
    for (int i = 0; i <= 20; ++i) {
        const double t = pi + pi * i / 20.0;
        canopy.push_back({c.x + std::cos(t) * r, c.y - r * 0.1 + std::sin(t) * r * 0.8});
    }
    for (int i = 4; i >= 0; --i) {
        const double x = c.x - r + r * 0.5 * i;
        canopy.push_back({x, c.y - r * 0.1});
        canopy.push_back({x - r * 0.25, c.y - r * 0.22});
    }
    canvas.fillPolygon(canopy, cloth);
    canvas.line({c.x, c.y - r * 0.1}, {c.x, c.y + r * 0.75}, r * 0.16, RGB(250, 250, 250));
    canvas.line({c.x, c.y + r * 0.75}, {c.x - r * 0.3, c.y + r * 0.75}, r * 0.16, RGB(250, 250, 250));
    for (double dx : {1.15, 1.5})
        canvas.fillEllipse(c.x + dx * r - r * 0.1, c.y + r * 0.35, c.x + dx * r + r * 0.1, c.y + r * 0.65,
                           RGB(180, 220, 255));
}

void tulip(SmoothCanvas& canvas, PointF c, double r)
{
    canvas.line({c.x, c.y}, {c.x, c.y + r}, r * 0.14, RGB(60, 170, 60));
    canvas.fillPolygon({{c.x, c.y + r * 0.75}, {c.x + r * 0.5, c.y + r * 0.15}, {c.x + r * 0.1, c.y + r * 0.55}},
                       RGB(80, 190, 80));
    const gfx::Colour petal = RGB(255, 120, 170);
    canvas.fillEllipse(c.x - r * 0.5, c.y - r * 0.5, c.x + r * 0.5, c.y + r * 0.2, petal);
    canvas.fillPolygon({{c.x - r * 0.5, c.y - r * 0.2}, {c.x - r * 0.45, c.y - r * 0.95}, {c.x - r * 0.15, c.y - r * 0.45},
                        {c.x, c.y - r * 0.95}, {c.x + r * 0.15, c.y - r * 0.45}, {c.x + r * 0.45, c.y - r * 0.95},
                        {c.x + r * 0.5, c.y - r * 0.2}},
                       petal);
}

void sun(SmoothCanvas& canvas, PointF c, double r)
{
    const gfx::Colour ray = RGB(255, 240, 150);
    for (int i = 0; i < 12; ++i)
        canvas.line(polar(c, r * 0.62, i / 12.0), polar(c, r, i / 12.0), r * 0.13, ray);
    canvas.fillEllipse(c.x - r * 0.5, c.y - r * 0.5, c.x + r * 0.5, c.y + r * 0.5, RGB(255, 250, 200));
}

void sailboat(SmoothCanvas& canvas, PointF c, double r)
{
    canvas.fillPolygon({{c.x + r * 0.05, c.y - r}, {c.x + r * 0.05, c.y + r * 0.45}, {c.x + r * 0.8, c.y + r * 0.45}},
                       RGB(255, 255, 255));
    canvas.fillPolygon({{c.x - r * 0.05, c.y - r * 0.7}, {c.x - r * 0.05, c.y + r * 0.45}, {c.x - r * 0.6, c.y + r * 0.45}},
                       RGB(255, 200, 120));
    canvas.fillPolygon({{c.x - r, c.y + r * 0.55}, {c.x + r, c.y + r * 0.55}, {c.x + r * 0.65, c.y + r * 0.95},
                        {c.x - r * 0.65, c.y + r * 0.95}},
                       RGB(200, 70, 50));
}

void sunflower(SmoothCanvas& canvas, PointF c, double r)
{
    for (int i = 0; i < 12; ++i) {
        const PointF tip = polar(c, r * 0.62, i / 12.0);
        canvas.fillEllipse(tip.x - r * 0.27, tip.y - r * 0.27, tip.x + r * 0.27, tip.y + r * 0.27, RGB(255, 215, 40));
    }
    canvas.fillEllipse(c.x - r * 0.42, c.y - r * 0.42, c.x + r * 0.42, c.y + r * 0.42, RGB(110, 60, 20));
}

void apple(SmoothCanvas& canvas, PointF c, double r)
{
    const gfx::Colour red = RGB(230, 40, 40);
    canvas.fillEllipse(c.x - r * 0.85, c.y - r * 0.55, c.x + r * 0.05, c.y + r * 0.9, red);
    canvas.fillEllipse(c.x - r * 0.05, c.y - r * 0.55, c.x + r * 0.85, c.y + r * 0.9, red);
    canvas.fillEllipse(c.x - r * 0.55, c.y - r * 0.3, c.x - r * 0.25, c.y + r * 0.05, RGB(255, 150, 140));
    canvas.line({c.x, c.y - r * 0.45}, {c.x + r * 0.1, c.y - r * 0.95}, r * 0.12, RGB(90, 50, 20));
    canvas.fillPolygon({{c.x + r * 0.1, c.y - r * 0.7}, {c.x + r * 0.6, c.y - r * 1.0}, {c.x + r * 0.35, c.y - r * 0.6}},
                       RGB(80, 180, 60));
}

void mapleLeaf(SmoothCanvas& canvas, PointF c, double r, gfx::Colour colour)
{
    // The right half of the leaf from its top point down to the stem, mirrored for the left.
    const PointF half[] = {{0, -1.0},     {0.18, -0.62}, {0.42, -0.74}, {0.34, -0.24}, {0.86, -0.5}, {0.72, -0.14},
                           {0.98, 0.04},  {0.5, 0.3},    {0.58, 0.52},  {0.12, 0.42},  {0.06, 0.62}};
    std::vector<PointF> leaf;
    for (const PointF& p : half)
        leaf.push_back({c.x + p.x * r, c.y + p.y * r});
    for (int i = int(std::size(half)) - 1; i >= 1; --i)
        leaf.push_back({c.x - half[i].x * r, c.y + half[i].y * r});
    canvas.fillPolygon(leaf, colour);
    canvas.line({c.x, c.y + r * 0.3}, {c.x + r * 0.12, c.y + r}, r * 0.12, mix(colour, RGB(90, 30, 0), 0.6));
}

void acorn(SmoothCanvas& canvas, PointF c, double r)
{
    canvas.fillEllipse(c.x - r * 0.5, c.y - r * 0.4, c.x + r * 0.5, c.y + r * 0.95, RGB(215, 150, 70));
    canvas.fillEllipse(c.x - r * 0.62, c.y - r * 0.75, c.x + r * 0.62, c.y - r * 0.05, RGB(110, 70, 30));
    canvas.fillRect(c.x - r * 0.62, c.y - r * 0.4, c.x + r * 0.62, c.y - r * 0.12, RGB(110, 70, 30));
    canvas.line({c.x, c.y - r * 0.7}, {c.x + r * 0.15, c.y - r}, r * 0.14, RGB(110, 70, 30));
}

void christmasStar(SmoothCanvas& canvas, PointF c, double r)
{
    canvas.fillPolygon(starPoints(c, r, r * 0.42, 5), RGB(255, 215, 60));
    canvas.fillPolygon(starPoints(c, r * 0.55, r * 0.25, 5), RGB(255, 245, 170));
}

} // namespace

void SeasonMotifs::draw(SmoothCanvas& canvas, int month, PointF centre, double size)
{
    const double r = size / 2;
    switch (month) {
    case 1: snowflake(canvas, centre, r); break;
    case 2: heart(canvas, centre, r * 0.85, RGB(255, 130, 160)); break;
    case 3: clover(canvas, centre, r); break;
    case 4: umbrella(canvas, centre, r * 1.05); break;
    case 5: tulip(canvas, centre, r); break;
    case 6: sun(canvas, centre, r); break;
    case 7: sailboat(canvas, centre, r); break;
    case 8: sunflower(canvas, centre, r); break;
    case 9: apple(canvas, centre, r * 0.85); break;
    case 10: mapleLeaf(canvas, centre, r, RGB(255, 170, 40)); break;
    case 11: acorn(canvas, centre, r); break;
    case 12: christmasStar(canvas, centre, r); break;
    default: break;
    }
}

} // namespace assetgen
