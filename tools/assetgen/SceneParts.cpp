#include "SceneParts.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace assetgen {

namespace {

using gfx::RGB;
constexpr double pi = std::numbers::pi;

} // namespace

double SceneRandom::next()
{
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return double(m_state) / 4294967296.0;
}

void SceneParts::sky(SmoothCanvas& canvas, gfx::Colour top, gfx::Colour horizon, double horizonY)
{
    canvas.verticalGradient(0, horizonY, top, horizon);
    canvas.fillRect(0, horizonY, canvas.width(), canvas.height(), horizon);
}

double SceneParts::hillTop(double x, double baseY, double amplitude, double wavelength, double phase)
{
    return baseY - amplitude * std::sin(x / wavelength * 2 * pi + phase)
        - amplitude * 0.35 * std::sin(x / wavelength * 5.3 + phase * 1.7);
}

void SceneParts::hills(SmoothCanvas& canvas, double baseY, double amplitude, double wavelength, double phase,
                       gfx::Colour colour)
{
    std::vector<PointF> outline;
    for (double x = -2; x <= canvas.width() + 2; x += 1)
        outline.push_back({x, hillTop(x, baseY, amplitude, wavelength, phase)});
    outline.push_back({double(canvas.width()) + 2, double(canvas.height()) + 2});
    outline.push_back({-2, double(canvas.height()) + 2});
    canvas.fillPolygon(outline, colour);
}

void SceneParts::cloud(SmoothCanvas& canvas, double cx, double cy, double size, gfx::Colour colour)
{
    const double s = size;
    canvas.fillEllipse(cx - s * 1.0, cy - s * 0.25, cx - s * 0.1, cy + s * 0.35, colour);
    canvas.fillEllipse(cx - s * 0.55, cy - s * 0.6, cx + s * 0.25, cy + s * 0.3, colour);
    canvas.fillEllipse(cx - s * 0.05, cy - s * 0.45, cx + s * 0.75, cy + s * 0.3, colour);
    canvas.fillEllipse(cx + s * 0.35, cy - s * 0.15, cx + s * 1.05, cy + s * 0.35, colour);
    canvas.fillRect(cx - s * 0.75, cy, cx + s * 0.8, cy + s * 0.35, colour);
}

void SceneParts::sun(SmoothCanvas& canvas, double cx, double cy, double radius, gfx::Colour colour, gfx::Colour glow)
{
    for (int ring = 3; ring >= 1; --ring) {
        const double r = radius * (1 + ring * 0.3);
        canvas.fillEllipse(cx - r, cy - r, cx + r, cy + r, mix(colour, glow, 0.45 + ring * 0.15));
    }
    canvas.fillEllipse(cx - radius, cy - radius, cx + radius, cy + radius, colour);
}

void SceneParts::pineTree(SmoothCanvas& canvas, double x, double baseY, double height, gfx::Colour colour, bool snowy)
{
    const double w = height * 0.42;
    canvas.fillRect(x - height * 0.04, baseY - height * 0.14, x + height * 0.04, baseY, RGB(90, 60, 35));
    const gfx::Colour snow = RGB(248, 252, 255);
    for (int tier = 0; tier < 3; ++tier) {
        const double bottom = baseY - height * (0.1 + tier * 0.26);
        const double top = bottom - height * 0.42;
        const double half = w * (1.0 - tier * 0.24);
        canvas.fillPolygon({{x, top}, {x + half, bottom}, {x - half, bottom}}, colour);
        if (snowy) {
            canvas.fillPolygon({{x, top}, {x + half * 0.45, top + (bottom - top) * 0.45},
                                {x + half * 0.1, top + (bottom - top) * 0.38},
                                {x - half * 0.2, top + (bottom - top) * 0.5},
                                {x - half * 0.45, top + (bottom - top) * 0.45}},
                               snow);
            canvas.fillRect(x - half, bottom - 1.2, x + half, bottom, snow);
        }
    }
}

void SceneParts::roundTree(SmoothCanvas& canvas, double x, double baseY, double height, gfx::Colour crown,
                           gfx::Colour shade)
{
    canvas.fillRect(x - height * 0.06, baseY - height * 0.45, x + height * 0.06, baseY, RGB(110, 75, 40));
    const double r = height * 0.32;
    const double cy = baseY - height * 0.66;
    canvas.fillEllipse(x - r * 1.15, cy - r * 0.7, x + r * 0.2, cy + r * 0.75, shade);
    canvas.fillEllipse(x - r * 0.2, cy - r * 0.7, x + r * 1.15, cy + r * 0.75, shade);
    canvas.fillEllipse(x - r * 0.75, cy - r * 1.05, x + r * 0.75, cy + r * 0.45, crown);
    canvas.fillEllipse(x - r * 1.0, cy - r * 0.55, x + r * 0.05, cy + r * 0.55, crown);
    canvas.fillEllipse(x - r * 0.05, cy - r * 0.6, x + r * 0.95, cy + r * 0.5, crown);
}

namespace {

void branch(SmoothCanvas& canvas, PointF from, double length, double turns, double width, int depth, gfx::Colour colour)
{
    const PointF to{from.x + std::sin(turns * 2 * pi) * length, from.y - std::cos(turns * 2 * pi) * length};
    canvas.line(from, to, width, colour);
    if (depth == 0)
        return;
    branch(canvas, to, length * 0.72, turns - 0.07, width * 0.65, depth - 1, colour);
    branch(canvas, to, length * 0.68, turns + 0.08, width * 0.65, depth - 1, colour);
    if (depth % 2)
        branch(canvas, to, length * 0.5, turns + 0.01, width * 0.6, depth - 1, colour);
}

} // namespace

void SceneParts::bareTree(SmoothCanvas& canvas, double x, double baseY, double height, gfx::Colour colour)
{
    branch(canvas, {x, baseY}, height * 0.36, 0.0, height * 0.07, 5, colour);
}

void SceneParts::flower(SmoothCanvas& canvas, double x, double y, double radius, gfx::Colour petal, gfx::Colour middle)
{
    for (int i = 0; i < 5; ++i) {
        const double t = i / 5.0 * 2 * pi;
        const double px = x + std::sin(t) * radius * 0.6;
        const double py = y - std::cos(t) * radius * 0.6;
        canvas.fillEllipse(px - radius * 0.5, py - radius * 0.5, px + radius * 0.5, py + radius * 0.5, petal);
    }
    canvas.fillEllipse(x - radius * 0.4, y - radius * 0.4, x + radius * 0.4, y + radius * 0.4, middle);
}

void SceneParts::snowfall(SmoothCanvas& canvas, SceneRandom& random, int count, double maxY, gfx::Colour colour)
{
    for (int i = 0; i < count; ++i) {
        const double x = random.between(0, canvas.width());
        const double y = random.between(0, maxY);
        const double r = random.between(0.6, 1.6);
        canvas.fillEllipse(x - r, y - r, x + r, y + r, colour);
    }
}

void SceneParts::rainbow(SmoothCanvas& canvas, double cx, double cy, double radius, double bandWidth)
{
    const gfx::Colour bands[] = {RGB(235, 80, 80),  RGB(245, 160, 60), RGB(245, 225, 90),
                                 RGB(110, 200, 110), RGB(90, 150, 230), RGB(150, 110, 210)};
    for (int b = 0; b < 6; ++b) {
        const double outer = radius - b * bandWidth;
        canvas.ring(cx - outer, cy - outer, cx + outer, cy + outer, bandWidth + 0.05, bands[b]);
    }
}

void SceneParts::leaf(SmoothCanvas& canvas, double x, double y, double size, double turns, gfx::Colour colour)
{
    const double a = turns * 2 * pi;
    auto at = [&](double along, double across) {
        return PointF{x + std::cos(a) * along - std::sin(a) * across, y + std::sin(a) * along + std::cos(a) * across};
    };
    canvas.fillPolygon({at(-size, 0), at(-size * 0.3, -size * 0.45), at(size * 0.4, -size * 0.35), at(size, 0),
                        at(size * 0.4, size * 0.35), at(-size * 0.3, size * 0.45)},
                       colour);
}

void SceneParts::house(SmoothCanvas& canvas, double x, double baseY, double width, gfx::Colour wall, gfx::Colour roof,
                       bool lit)
{
    const double h = width * 0.7;
    canvas.fillRect(x, baseY - h, x + width, baseY, wall);
    canvas.fillPolygon({{x - width * 0.12, baseY - h}, {x + width * 0.5, baseY - h - width * 0.5},
                        {x + width * 1.12, baseY - h}},
                       roof);
    const gfx::Colour window = lit ? RGB(255, 220, 120) : RGB(120, 150, 190);
    canvas.fillRect(x + width * 0.15, baseY - h * 0.75, x + width * 0.4, baseY - h * 0.45, window);
    canvas.fillRect(x + width * 0.6, baseY - h * 0.75, x + width * 0.85, baseY - h * 0.45, window);
    canvas.fillRect(x + width * 0.4, baseY - h * 0.4, x + width * 0.6, baseY, RGB(110, 70, 40));
}

} // namespace assetgen
