#pragma once
// A canvas that draws shapes at a multiple of the final size and then reduces them, so round and
// slanted edges come out smooth: the painter draws hard-edged pixels only.
//
// Coordinates of the shape helpers are in final pixels (fractions allowed); the painter itself
// works on the enlarged surface. Two reductions:
//  - reduce(): each final pixel is the average of its samples (pictures that are drawn whole, such
//    as backgrounds);
//  - reduceKeyed(): pictures with a key-coloured background keep a hard silhouette: a pixel
//    whose samples are at least half background becomes background, any other pixel averages its
//    non-background samples only, so no edge pixel is tinted by the key colour.

#include "platform/gfx/Painter.h"
#include "platform/gfx/Surface.h"

#include <initializer_list>
#include <vector>

namespace assetgen {

struct PointF {
    double x = 0;
    double y = 0;
};

class SmoothCanvas {
public:
    SmoothCanvas(int width, int height, int factor, gfx::Colour background);

    int width() const { return m_width; }
    int height() const { return m_height; }
    int factor() const { return m_factor; }
    gfx::Painter& painter() { return m_painter; }
    gfx::Surface& surface() { return m_surface; }

    // Shapes in final-pixel coordinates. Rectangles and ellipses span [left, right) × [top, bottom).
    void fillRect(double left, double top, double right, double bottom, gfx::Colour colour);
    void fillEllipse(double left, double top, double right, double bottom, gfx::Colour colour);
    void fillPolygon(std::initializer_list<PointF> points, gfx::Colour colour);
    void fillPolygon(const std::vector<PointF>& points, gfx::Colour colour);
    // A straight stroke of the given width with square ends.
    void line(PointF from, PointF to, double width, gfx::Colour colour);
    // An ellipse ring: the outline of width `width` inside the bounds.
    void ring(double left, double top, double right, double bottom, double width, gfx::Colour colour);
    // Paints everything outside the ellipse in `outside`.
    void keepInsideEllipse(double left, double top, double right, double bottom, gfx::Colour outside);
    // A vertical gradient from `top` to `bottom` colour over [y0, y1).
    void verticalGradient(double y0, double y1, gfx::Colour top, gfx::Colour bottom);

    gfx::Surface reduce() const;
    gfx::Surface reduceKeyed(gfx::Colour key) const;

private:
    int scaled(double value) const;

    int m_width;
    int m_height;
    int m_factor;
    gfx::Surface m_surface;
    gfx::Painter m_painter;
};

// A colour between `from` (t = 0) and `to` (t = 1).
gfx::Colour mix(gfx::Colour from, gfx::Colour to, double t);

} // namespace assetgen
