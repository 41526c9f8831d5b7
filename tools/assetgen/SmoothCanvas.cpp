#include "SmoothCanvas.h"

#include "platform/gfx/PainterStateSaver.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

gfx::Colour mix(gfx::Colour from, gfx::Colour to, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](unsigned a, unsigned b) { return unsigned(std::lround(a + (double(b) - double(a)) * t)); };
    return gfx::RGB(channel(gfx::redOf(from), gfx::redOf(to)), channel(gfx::greenOf(from), gfx::greenOf(to)),
                    channel(gfx::blueOf(from), gfx::blueOf(to)));
}

SmoothCanvas::SmoothCanvas(int width, int height, int factor, gfx::Colour background)
    : m_width(width)
    , m_height(height)
    , m_factor(factor)
    , m_surface(width * factor, height * factor, background)
    , m_painter(m_surface)
{
}

int SmoothCanvas::scaled(double value) const
{
    return int(std::lround(value * m_factor));
}

void SmoothCanvas::fillRect(double left, double top, double right, double bottom, gfx::Colour colour)
{
    m_painter.fillRect(gfx::Rect{scaled(left), scaled(top), scaled(right), scaled(bottom)}, colour);
}

void SmoothCanvas::fillEllipse(double left, double top, double right, double bottom, gfx::Colour colour)
{
    // Filled sample by sample: the painter's ellipse would add its pen outline.
    const double cx = (left + right) / 2 * m_factor;
    const double cy = (top + bottom) / 2 * m_factor;
    const double rx = (right - left) / 2 * m_factor;
    const double ry = (bottom - top) / 2 * m_factor;
    if (rx <= 0 || ry <= 0)
        return;
    const int y0 = std::max(0, int(std::floor(cy - ry)));
    const int y1 = std::min(m_surface.height(), int(std::ceil(cy + ry)));
    for (int y = y0; y < y1; ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        if (dy * dy > 1)
            continue;
        const double half = rx * std::sqrt(1 - dy * dy);
        const int x0 = std::max(0, int(std::lround(cx - half)));
        const int x1 = std::min(m_surface.width(), int(std::lround(cx + half)));
        gfx::Colour* row = m_surface.row(y);
        for (int x = x0; x < x1; ++x)
            row[x] = colour;
    }
}

void SmoothCanvas::fillPolygon(std::initializer_list<PointF> points, gfx::Colour colour)
{
    fillPolygon(std::vector<PointF>(points), colour);
}

void SmoothCanvas::fillPolygon(const std::vector<PointF>& points, gfx::Colour colour)
{
    std::vector<gfx::Point> scaledPoints;
    scaledPoints.reserve(points.size());
    for (const PointF& p : points)
        scaledPoints.push_back({scaled(p.x), scaled(p.y)});
    const gfx::PainterStateSaver saved(m_painter);
    m_painter.selectPen(gfx::Pen::null());
    m_painter.selectBrush(gfx::Brush::solid(colour));
    m_painter.polygon(scaledPoints);
}

void SmoothCanvas::line(PointF from, PointF to, double width, gfx::Colour colour)
{
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    if (length <= 0) {
        fillRect(from.x - width / 2, from.y - width / 2, from.x + width / 2, from.y + width / 2, colour);
        return;
    }
    // The stroke's corners: half the width to either side, half the width beyond each end.
    const double ux = dx / length * width / 2;
    const double uy = dy / length * width / 2;
    fillPolygon({{from.x - ux + uy, from.y - uy - ux},
                 {to.x + ux + uy, to.y + uy - ux},
                 {to.x + ux - uy, to.y + uy + ux},
                 {from.x - ux - uy, from.y - uy + ux}},
                colour);
}

void SmoothCanvas::ring(double left, double top, double right, double bottom, double width, gfx::Colour colour)
{
    const double cx = (left + right) / 2 * m_factor;
    const double cy = (top + bottom) / 2 * m_factor;
    const double rx = (right - left) / 2 * m_factor;
    const double ry = (bottom - top) / 2 * m_factor;
    const double inner = 1 - width * m_factor / std::min(rx, ry);
    for (int y = 0; y < m_surface.height(); ++y) {
        for (int x = 0; x < m_surface.width(); ++x) {
            const double ex = (x + 0.5 - cx) / rx;
            const double ey = (y + 0.5 - cy) / ry;
            const double d = std::sqrt(ex * ex + ey * ey);
            if (d <= 1 && d >= inner)
                m_surface.row(y)[x] = colour;
        }
    }
}

void SmoothCanvas::keepInsideEllipse(double left, double top, double right, double bottom, gfx::Colour outside)
{
    const double cx = (left + right) / 2 * m_factor;
    const double cy = (top + bottom) / 2 * m_factor;
    const double rx = (right - left) / 2 * m_factor;
    const double ry = (bottom - top) / 2 * m_factor;
    for (int y = 0; y < m_surface.height(); ++y) {
        for (int x = 0; x < m_surface.width(); ++x) {
            const double ex = (x + 0.5 - cx) / rx;
            const double ey = (y + 0.5 - cy) / ry;
            if (ex * ex + ey * ey > 1)
                m_surface.row(y)[x] = outside;
        }
    }
}

void SmoothCanvas::verticalGradient(double y0, double y1, gfx::Colour top, gfx::Colour bottom)
{
    const int from = std::max(0, scaled(y0));
    const int to = std::min(m_surface.height(), scaled(y1));
    for (int y = from; y < to; ++y) {
        const double t = to - from > 1 ? double(y - from) / double(to - from - 1) : 0;
        const gfx::Colour colour = mix(top, bottom, t);
        std::fill_n(m_surface.row(y), m_surface.width(), colour);
    }
}

gfx::Surface SmoothCanvas::reduce() const
{
    gfx::Surface result(m_width, m_height);
    const unsigned samples = unsigned(m_factor * m_factor);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            unsigned r = 0, g = 0, b = 0;
            for (int sy = 0; sy < m_factor; ++sy) {
                const gfx::Colour* row = m_surface.row(y * m_factor + sy) + x * m_factor;
                for (int sx = 0; sx < m_factor; ++sx) {
                    r += gfx::redOf(row[sx]);
                    g += gfx::greenOf(row[sx]);
                    b += gfx::blueOf(row[sx]);
                }
            }
            result.setPixel(x, y, gfx::RGB((r + samples / 2) / samples, (g + samples / 2) / samples,
                                           (b + samples / 2) / samples));
        }
    }
    return result;
}

gfx::Surface SmoothCanvas::reduceKeyed(gfx::Colour key) const
{
    gfx::Surface result(m_width, m_height, key);
    const unsigned samples = unsigned(m_factor * m_factor);
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            unsigned r = 0, g = 0, b = 0, shown = 0;
            for (int sy = 0; sy < m_factor; ++sy) {
                const gfx::Colour* row = m_surface.row(y * m_factor + sy) + x * m_factor;
                for (int sx = 0; sx < m_factor; ++sx) {
                    if (row[sx] == key)
                        continue;
                    r += gfx::redOf(row[sx]);
                    g += gfx::greenOf(row[sx]);
                    b += gfx::blueOf(row[sx]);
                    ++shown;
                }
            }
            if (shown * 2 <= samples)
                continue;
            gfx::Colour colour = gfx::RGB((r + shown / 2) / shown, (g + shown / 2) / shown, (b + shown / 2) / shown);
            // An average that happens to equal the key would vanish; nudge it.
            if (colour == key)
                colour = gfx::RGB(254, 0, 254);
            result.setPixel(x, y, colour);
        }
    }
    return result;
}

} // namespace assetgen
