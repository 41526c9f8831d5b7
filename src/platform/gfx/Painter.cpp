#include "platform/gfx/Painter.h"

#include "platform/gfx/FontFace.h"
#include "platform/gfx/TextLayout.h"
#include "platform/gfx/Utf16.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace gfx {

namespace {

// Dash patterns of the 1-pixel styled pens: pixels on, pixels off.
struct DashPattern {
    unsigned on;
    unsigned off;
};
constexpr DashPattern dashPattern{18, 6};
constexpr DashPattern dotPattern{3, 3};

Rect normalised(const Rect& rect)
{
    return {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
            std::max(rect.top, rect.bottom)};
}

// Blends `colour` over `pixel` with coverage 0 to 255, each channel rounded.
inline Colour blend(Colour pixel, Colour colour, unsigned coverage)
{
    unsigned inverse = 255 - coverage;
    auto channel = [&](unsigned shift) {
        unsigned value = ((colour >> shift) & 0xFF) * coverage + ((pixel >> shift) & 0xFF) * inverse + 127;
        return ((value + (value >> 8)) >> 8) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

Colour combine(RasterOp op, Colour destination, Colour source, Colour pattern)
{
    switch (op) {
    case SRCCOPY: return source;
    case SRCPAINT: return destination | source;
    case SRCAND: return destination & source;
    case SRCINVERT: return destination ^ source;
    case SRCERASE: return ~destination & source;
    case NOTSRCCOPY: return ~source;
    case NOTSRCERASE: return ~(destination | source);
    case MERGEPAINT: return ~source | destination;
    case DSTINVERT: return ~destination;
    case PATCOPY: return pattern;
    case PATINVERT: return pattern ^ destination;
    case BLACKNESS: return 0;
    case WHITENESS: return 0xFFFFFF;
    default: return destination;
    }
}

bool isKnownOp(RasterOp op)
{
    switch (op) {
    case SRCCOPY: case SRCPAINT: case SRCAND: case SRCINVERT: case SRCERASE: case NOTSRCCOPY:
    case NOTSRCERASE: case MERGEPAINT: case DSTINVERT: case PATCOPY: case PATINVERT: case BLACKNESS:
    case WHITENESS:
        return true;
    default:
        return false;
    }
}

// The pixels an extent covers: a negative one runs from the start point backwards, so that
// (width - 1, -width) covers the same columns as (0, width), mirrored.
Rect extentRect(int x, int y, int width, int height)
{
    int left = width < 0 ? x + width + 1 : x;
    int top = height < 0 ? y + height + 1 : y;
    return {left, top, left + std::abs(width), top + std::abs(height)};
}

// Nearest-neighbour sampling of a stretch: for each of `count` target pixels, the source index
// (counted from the source rectangle's first pixel), mirrored when asked.
std::vector<int> sampleMap(int count, int sourceCount, bool mirrored)
{
    std::vector<int> map(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        int index = int(std::int64_t(i) * sourceCount / count);
        map[std::size_t(i)] = mirrored ? sourceCount - 1 - index : index;
    }
    return map;
}

} // namespace

Painter::Painter(Surface& target) : m_target(&target)
{
    m_state.clip = target.rect();
}

// ---- state -------------------------------------------------------------------------------------

Pen Painter::selectPen(const Pen& pen)
{
    return std::exchange(m_state.pen, pen);
}

Brush Painter::selectBrush(const Brush& brush)
{
    return std::exchange(m_state.brush, brush);
}

Font Painter::selectFont(const Font& font)
{
    return std::exchange(m_state.font, font);
}

Colour Painter::setTextColour(Colour colour)
{
    return std::exchange(m_state.textColour, opaque(colour));
}

Colour Painter::setBackgroundColour(Colour colour)
{
    return std::exchange(m_state.backgroundColour, opaque(colour));
}

int Painter::setBackgroundMode(int mode)
{
    int previous = m_state.backgroundMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_state.backgroundMode = mode;
    return previous;
}

unsigned Painter::setTextAlign(unsigned align)
{
    return std::exchange(m_state.textAlign, align);
}

Point Painter::setOrigin(Point origin)
{
    return std::exchange(m_state.origin, origin);
}

void Painter::setClipRect(const Rect& rect)
{
    m_state.clip = toDevice(normalised(rect)).intersected(m_target->rect());
}

void Painter::intersectClipRect(const Rect& rect)
{
    m_state.clip = m_state.clip.intersected(toDevice(normalised(rect)));
}

void Painter::resetClip()
{
    m_state.clip = m_target->rect();
}

Rect Painter::clipRect() const
{
    return m_state.clip.translated(-m_state.origin.x, -m_state.origin.y);
}

void Painter::save()
{
    m_saved.push_back(m_state);
}

void Painter::restore()
{
    if (m_saved.empty())
        return;
    m_state = std::move(m_saved.back());
    m_saved.pop_back();
}

// ---- pixels and areas --------------------------------------------------------------------------

Colour Painter::setPixel(int x, int y, Colour colour)
{
    Point p = Point{x, y} + m_state.origin;
    if (!m_state.clip.contains(p))
        return CLR_INVALID;
    m_target->row(p.y)[p.x] = opaque(colour);
    return opaque(colour);
}

Colour Painter::getPixel(int x, int y) const
{
    Point p = Point{x, y} + m_state.origin;
    if (!m_state.clip.contains(p))
        return CLR_INVALID;
    return m_target->row(p.y)[p.x];
}

void Painter::fillDeviceRect(const Rect& deviceRect, Colour colour)
{
    m_target->fillRect(deviceRect.intersected(m_state.clip), colour);
}

void Painter::fillRect(const Rect& rect, const Brush& brush)
{
    if (!brush.isNull())
        fillDeviceRect(toDevice(rect), brush.colour);
}

void Painter::fillRect(const Rect& rect, Colour colour)
{
    fillDeviceRect(toDevice(rect), colour);
}

void Painter::frameRect(const Rect& rect, const Brush& brush)
{
    if (brush.isNull() || rect.isEmpty())
        return;
    Rect d = toDevice(rect);
    fillDeviceRect({d.left, d.top, d.right, d.top + 1}, brush.colour);
    fillDeviceRect({d.left, d.bottom - 1, d.right, d.bottom}, brush.colour);
    fillDeviceRect({d.left, d.top + 1, d.left + 1, d.bottom - 1}, brush.colour);
    fillDeviceRect({d.right - 1, d.top + 1, d.right, d.bottom - 1}, brush.colour);
}

void Painter::invertRect(const Rect& rect)
{
    Rect area = toDevice(rect).intersected(m_state.clip);
    for (int y = area.top; y < area.bottom; ++y) {
        Colour* row = m_target->row(y);
        for (int x = area.left; x < area.right; ++x)
            row[x] ^= 0xFFFFFF;
    }
}

void Painter::rectangle(const Rect& rect)
{
    Rect d = toDevice(normalised(rect));
    const Pen& pen = m_state.pen;
    if (pen.isNull()) {
        // Without a border the handheld leaves the last column and row unfilled.
        if (!m_state.brush.isNull())
            fillDeviceRect({d.left, d.top, d.right - 1, d.bottom - 1}, m_state.brush.colour);
        return;
    }
    if (d.isEmpty())
        return;
    int width = std::max(1, pen.width);
    if (!m_state.brush.isNull())
        fillDeviceRect(d.inflated(-width, -width), m_state.brush.colour);
    if (pen.style == PS_SOLID || width > 1) {
        Colour colour = pen.colour;
        fillDeviceRect({d.left, d.top, d.right, std::min(d.bottom, d.top + width)}, colour);
        fillDeviceRect({d.left, std::max(d.top, d.bottom - width), d.right, d.bottom}, colour);
        fillDeviceRect({d.left, d.top + width, std::min(d.right, d.left + width), d.bottom - width}, colour);
        fillDeviceRect({std::max(d.left, d.right - width), d.top + width, d.right, d.bottom - width}, colour);
        return;
    }
    // A styled border runs its pattern once around the rectangle, as a closed line would.
    m_dashPhase = 0;
    Point corners[] = {{d.left, d.top}, {d.right - 1, d.top}, {d.right - 1, d.bottom - 1}, {d.left, d.bottom - 1}};
    for (int i = 0; i < 4; ++i)
        drawLine(corners[i], corners[(i + 1) % 4], false);
    if (d.width() == 1 || d.height() == 1)
        drawLine(corners[2], corners[2], true);
}

void Painter::ellipse(const Rect& rect)
{
    Rect d = toDevice(normalised(rect));
    if (d.isEmpty())
        return;
    const Pen& pen = m_state.pen;
    bool hasPen = !pen.isNull();
    int border = hasPen ? std::max(1, pen.width) : 0;
    // Inscribed in the pixels left..right-1 and top..bottom-1. For each row the span of pixel
    // centres inside the ellipse; the border is the part of the span not inside the ellipse
    // shrunk by the pen width.
    double cx = (d.left + d.right - 1) / 2.0;
    double cy = (d.top + d.bottom - 1) / 2.0;
    double a = d.width() / 2.0;
    double b = d.height() / 2.0;
    auto span = [&](double radiusX, double radiusY, int y, int& from, int& to) {
        if (radiusX <= 0 || radiusY <= 0)
            return false;
        double dy = (y - cy) / radiusY;
        double inside = 1.0 - dy * dy;
        if (inside < 0)
            return false;
        double half = radiusX * std::sqrt(inside);
        from = int(std::ceil(cx - half - 1e-9));
        to = int(std::floor(cx + half + 1e-9)) + 1;
        return to > from;
    };
    for (int y = d.top; y < d.bottom; ++y) {
        int outerFrom = 0;
        int outerTo = 0;
        if (!span(a, b, y, outerFrom, outerTo))
            continue;
        int innerFrom = 0;
        int innerTo = 0;
        bool hasInner = span(a - border, b - border, y, innerFrom, innerTo);
        if (!hasInner) {
            innerFrom = innerTo = (outerFrom + outerTo) / 2;
        }
        if (!m_state.brush.isNull() && hasInner)
            fillDeviceRect({innerFrom, y, innerTo, y + 1}, m_state.brush.colour);
        if (hasPen) {
            fillDeviceRect({outerFrom, y, innerFrom, y + 1}, pen.colour);
            fillDeviceRect({innerTo, y, outerTo, y + 1}, pen.colour);
        } else if (!m_state.brush.isNull() && !hasInner) {
            fillDeviceRect({outerFrom, y, outerTo, y + 1}, m_state.brush.colour);
        }
    }
}

void Painter::polygon(std::span<const Point> points)
{
    if (points.size() < 2)
        return;
    if (!m_state.brush.isNull() && points.size() >= 3) {
        int top = points[0].y;
        int bottom = points[0].y;
        for (const Point& p : points) {
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
        std::vector<double> crossings;
        for (int y = top; y < bottom; ++y) {
            // Where the edges cross the row's top; a pixel is filled when its top-left corner
            // lies inside, which fills a rectangle's polygon exactly as fillRect does.
            crossings.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                Point a = points[i];
                Point b = points[(i + 1) % points.size()];
                if ((a.y <= y) == (b.y <= y))
                    continue;
                crossings.push_back(a.x + double(y - a.y) * double(b.x - a.x) / double(b.y - a.y));
            }
            std::sort(crossings.begin(), crossings.end());
            for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
                int from = int(std::ceil(crossings[i]));
                int to = int(std::ceil(crossings[i + 1]));
                fillDeviceRect(Rect{from, y, to, y + 1}.translated(m_state.origin), m_state.brush.colour);
            }
        }
    }
    m_dashPhase = 0;
    for (std::size_t i = 0; i < points.size(); ++i)
        drawLine(points[i] + m_state.origin, points[(i + 1) % points.size()] + m_state.origin, false);
}

void Painter::drawFocusRect(const Rect& rect)
{
    Rect d = toDevice(normalised(rect));
    if (d.isEmpty())
        return;
    unsigned phase = 0;
    auto invert = [&](int x, int y) {
        if ((phase++ & 1) == 0 && m_state.clip.contains(x, y))
            m_target->row(y)[x] ^= 0xFFFFFF;
    };
    for (int x = d.left; x < d.right; ++x)
        invert(x, d.top);
    for (int y = d.top + 1; y < d.bottom; ++y)
        invert(d.right - 1, y);
    if (d.height() > 1)
        for (int x = d.right - 2; x >= d.left; --x)
            invert(x, d.bottom - 1);
    if (d.width() > 1)
        for (int y = d.bottom - 2; y > d.top; --y)
            invert(d.left, y);
}

// ---- lines -------------------------------------------------------------------------------------

Point Painter::moveTo(int x, int y)
{
    m_dashPhase = 0;
    return std::exchange(m_state.position, Point{x, y});
}

void Painter::lineTo(int x, int y)
{
    Point to{x, y};
    drawLine(m_state.position + m_state.origin, to + m_state.origin, false);
    m_state.position = to;
}

void Painter::polyline(std::span<const Point> points)
{
    m_dashPhase = 0;
    for (std::size_t i = 1; i < points.size(); ++i)
        drawLine(points[i - 1] + m_state.origin, points[i] + m_state.origin, false);
}

void Painter::drawWidePoint(int deviceX, int deviceY, int width, Colour colour)
{
    int before = (width - 1) / 2;
    fillDeviceRect({deviceX - before, deviceY - before, deviceX - before + width, deviceY - before + width}, colour);
}

void Painter::drawLine(Point from, Point to, bool includeEnd)
{
    const Pen& pen = m_state.pen;
    if (pen.isNull())
        return;
    int width = std::max(1, pen.width);
    bool styled = width == 1 && (pen.style == PS_DASH || pen.style == PS_DOT);
    Colour colour = pen.colour;

    int dx = to.x - from.x;
    int dy = to.y - from.y;
    if (!styled && width == 1 && (dx == 0 || dy == 0)) {
        // Straight lines are spans.
        Rect span = dx == 0 ? Rect{from.x, std::min(from.y, to.y), from.x + 1, std::max(from.y, to.y)}
                            : Rect{std::min(from.x, to.x), from.y, std::max(from.x, to.x), from.y + 1};
        if (dy > 0 || dx > 0) // the end point lies at the high end: excluded by the span
            fillDeviceRect(span, colour);
        else // the end point lies at the low end: shift the span by one
            fillDeviceRect(dx == 0 ? span.translated(0, 1) : span.translated(1, 0), colour);
        if (includeEnd)
            plot(to.x, to.y, colour);
        return;
    }

    DashPattern pattern = pen.style == PS_DOT ? dotPattern : dashPattern;
    bool opaqueGaps = m_state.backgroundMode == OPAQUE;
    auto put = [&](int x, int y) {
        if (styled) {
            bool on = (m_dashPhase % (pattern.on + pattern.off)) < pattern.on;
            ++m_dashPhase;
            if (on)
                plot(x, y, colour);
            else if (opaqueGaps)
                plot(x, y, m_state.backgroundColour);
        } else if (width == 1) {
            plot(x, y, colour);
        } else {
            drawWidePoint(x, y, width, colour);
        }
    };

    // Bresenham: steps along the major axis, the minor one when the error passes half a pixel.
    int stepX = dx < 0 ? -1 : 1;
    int stepY = dy < 0 ? -1 : 1;
    int absX = std::abs(dx);
    int absY = std::abs(dy);
    int x = from.x;
    int y = from.y;
    if (absX >= absY) {
        int error = absX / 2;
        for (int i = 0; i < absX; ++i) {
            put(x, y);
            x += stepX;
            error -= absY;
            if (error < 0) {
                y += stepY;
                error += absX;
            }
        }
    } else {
        int error = absY / 2;
        for (int i = 0; i < absY; ++i) {
            put(x, y);
            y += stepY;
            error -= absX;
            if (error < 0) {
                x += stepX;
                error += absY;
            }
        }
    }
    if (includeEnd)
        put(to.x, to.y);
}

// ---- text --------------------------------------------------------------------------------------

Size Painter::textExtent(device::WideView text) const
{
    return m_state.font.textExtent(text);
}

void Painter::drawUnderline(int deviceX, int deviceBaseline, int width, const Rect& deviceClip)
{
    FontFace& face = m_state.font.face();
    int top = deviceBaseline + face.underlineOffset();
    m_target->fillRect(Rect{deviceX, top, deviceX + width, top + face.lineThickness()}.intersected(deviceClip),
                       m_state.textColour);
}

void Painter::drawTextRun(int deviceX, int deviceBaseline, device::WideView text, const Rect& deviceClip)
{
    // Each character advances by its own width; drawText places the pieces between tab stops.
    FontFace& face = m_state.font.face();
    Colour colour = m_state.textColour;
    int penX = deviceX;
    for (std::size_t i = 0; i < text.size();) {
        const Glyph& glyph = face.glyph(nextCodePoint(text, i));
        if (glyph.width > 0) {
            int left = penX + glyph.left;
            int top = deviceBaseline - glyph.top;
            Rect area = Rect{left, top, left + glyph.width, top + glyph.height}.intersected(deviceClip);
            for (int y = area.top; y < area.bottom; ++y) {
                const std::uint8_t* coverage = glyph.coverage.data() + std::size_t(y - top) * std::size_t(glyph.width);
                Colour* row = m_target->row(y);
                for (int x = area.left; x < area.right; ++x) {
                    unsigned c = coverage[x - left];
                    if (c == 255)
                        row[x] = colour;
                    else if (c != 0)
                        row[x] = blend(row[x], colour, c);
                }
            }
        }
        penX += glyph.advance;
    }
}

int Painter::drawText(device::WideView text, const Rect& rect, unsigned format)
{
    Rect copy = rect;
    return drawText(text, copy, format);
}

int Painter::drawText(device::WideView text, Rect& rect, unsigned format)
{
    const Font& font = m_state.font;
    const FontMetrics& metrics = font.metrics();
    TextLayout layout(font, format, rect.right - rect.left);
    std::vector<TextLine> lines = layout.layout(text);
    int lineHeight = metrics.height + ((format & DT_EXTERNALLEADING) ? metrics.externalLeading : 0);
    int total = int(lines.size()) * lineHeight;

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const auto& line : lines)
            widest = std::max(widest, line.width);
        rect.right = rect.left + widest;
        rect.bottom = rect.top + total;
        return total;
    }

    int y = rect.top;
    bool singleLine = (format & DT_SINGLELINE) != 0;
    if (singleLine && (format & DT_VCENTER))
        y = rect.top + (rect.bottom - rect.top - total) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        y = rect.bottom - total;

    FontFace& face = font.face();
    // The cell is the em square, so the accents of capitals may reach above it by the face's
    // overhang: the rectangle clips the sides and the bottom, and its top only beyond that.
    Rect textBounds = toDevice(rect);
    textBounds.top -= face.overhang();
    Rect deviceClip = (format & DT_NOCLIP) ? m_state.clip : textBounds.intersected(m_state.clip);
    bool expandTabs = (format & DT_EXPANDTABS) != 0;
    for (const auto& line : lines) {
        int x = rect.left;
        if (format & DT_CENTER)
            x = (rect.left + rect.right - line.width) / 2;
        else if (format & DT_RIGHT)
            x = rect.right - line.width;
        Point d = Point{x, y} + m_state.origin;
        if (m_state.backgroundMode == OPAQUE)
            m_target->fillRect(Rect{d.x, d.y, d.x + line.width, d.y + lineHeight}.intersected(deviceClip),
                               m_state.backgroundColour);
        int baseline = d.y + metrics.ascent;
        if (expandTabs && line.text.find(u'\t') != device::WideString::npos) {
            // Draw tab-separated pieces at their stops.
            int offset = 0;
            std::size_t begin = 0;
            while (begin <= line.text.size()) {
                std::size_t tab = line.text.find(u'\t', begin);
                std::size_t end = tab == device::WideString::npos ? line.text.size() : tab;
                device::WideView piece(line.text.data() + begin, end - begin);
                drawTextRun(d.x + offset, baseline, piece, deviceClip);
                offset += layout.measure(piece);
                if (tab == device::WideString::npos)
                    break;
                offset += layout.advance(U'\t', offset);
                begin = tab + 1;
            }
        } else {
            drawTextRun(d.x, baseline, line.text, deviceClip);
        }
        if (font.description().underline)
            drawUnderline(d.x, baseline, line.width, deviceClip);
        if (font.description().strikeOut) {
            int top = baseline - metrics.ascent / 3;
            m_target->fillRect(Rect{d.x, top, d.x + line.width, top + face.lineThickness()}.intersected(deviceClip),
                               m_state.textColour);
        }
        for (const auto& [from, to] : line.underlines)
            drawUnderline(d.x + from, baseline, to - from, deviceClip);
        y += lineHeight;
    }
    if (singleLine && (format & (DT_VCENTER | DT_BOTTOM)))
        return y - rect.top;
    return total;
}

bool Painter::textOut(int x, int y, device::WideView text)
{
    return extTextOut(x, y, 0, nullptr, text);
}

bool Painter::extTextOut(int x, int y, unsigned options, const Rect* rect, device::WideView text)
{
    const Font& font = m_state.font;
    const FontMetrics& metrics = font.metrics();
    unsigned align = m_state.textAlign;
    if (align & TA_UPDATECP) {
        x = m_state.position.x;
        y = m_state.position.y;
    }
    int width = font.textExtent(text).width;

    if ((options & ETO_OPAQUE) && rect)
        fillDeviceRect(toDevice(normalised(*rect)), m_state.backgroundColour);

    int left = x;
    switch (align & TA_CENTER) {
    case TA_RIGHT: left = x - width; break;
    case TA_CENTER: left = x - width / 2; break;
    default: break;
    }
    int top = y;
    switch (align & TA_BASELINE) {
    case TA_BASELINE: top = y - metrics.ascent; break;
    case TA_BOTTOM: top = y - metrics.height; break;
    default: break;
    }

    Rect deviceClip = m_state.clip;
    if ((options & ETO_CLIPPED) && rect)
        deviceClip = deviceClip.intersected(toDevice(normalised(*rect)));
    Point d = Point{left, top} + m_state.origin;
    if (m_state.backgroundMode == OPAQUE)
        m_target->fillRect(Rect{d.x, d.y, d.x + width, d.y + metrics.height}.intersected(deviceClip),
                           m_state.backgroundColour);
    int baseline = d.y + metrics.ascent;
    drawTextRun(d.x, baseline, text, deviceClip);
    if (font.description().underline)
        drawUnderline(d.x, baseline, width, deviceClip);
    if (font.description().strikeOut) {
        int strike = baseline - metrics.ascent / 3;
        m_target->fillRect(
            Rect{d.x, strike, d.x + width, strike + font.face().lineThickness()}.intersected(deviceClip),
            m_state.textColour);
    }

    if (align & TA_UPDATECP) {
        switch (align & TA_CENTER) {
        case TA_RIGHT: m_state.position.x = x - width; break;
        case TA_CENTER: break;
        default: m_state.position.x = x + width; break;
        }
    }
    return true;
}

// ---- block copies ------------------------------------------------------------------------------

bool Painter::bitBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY,
                     RasterOp op)
{
    if (!isKnownOp(op))
        return false;
    if (width <= 0 || height <= 0)
        return true;
    if (&source == m_target) {
        // Copy within one surface: take the source pixels first, so that overlap does no harm.
        Rect wanted = Rect::fromPositionAndSize(sourceX, sourceY, width, height);
        Rect present = wanted.intersected(source.rect());
        Surface snapshot = source.cropped(present);
        return bitBlt(x + (present.left - sourceX), y + (present.top - sourceY), present.width(), present.height(),
                      snapshot, 0, 0, op);
    }
    // The destination pixels whose source pixel exists and that the clip lets through.
    Rect d = Rect::fromPositionAndSize(x, y, width, height).translated(m_state.origin);
    Rect sourceArea = source.rect().translated(d.left - sourceX, d.top - sourceY);
    Rect area = d.intersected(sourceArea).intersected(m_state.clip);
    if (area.isEmpty())
        return true;
    int shiftX = sourceX - d.left;
    int shiftY = sourceY - d.top;
    Colour pattern = m_state.brush.isNull() ? 0 : m_state.brush.colour;
    for (int row = area.top; row < area.bottom; ++row) {
        Colour* target = m_target->row(row) + area.left;
        const Colour* from = source.row(row + shiftY) + area.left + shiftX;
        std::size_t count = std::size_t(area.width());
        if (op == SRCCOPY) {
            std::memcpy(target, from, count * sizeof(Colour));
            continue;
        }
        for (std::size_t i = 0; i < count; ++i)
            target[i] = opaque(combine(op, target[i], from[i], pattern));
    }
    return true;
}

bool Painter::stretchBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY,
                         int sourceWidth, int sourceHeight, RasterOp op)
{
    if (!isKnownOp(op) || sourceWidth == 0 || sourceHeight == 0)
        return false;
    if (width == 0 || height == 0)
        return true;
    if (width == sourceWidth && height == sourceHeight && width > 0 && height > 0)
        return bitBlt(x, y, width, height, source, sourceX, sourceY, op);
    if (&source == m_target) {
        Surface snapshot = source;
        return stretchBlt(x, y, width, height, snapshot, sourceX, sourceY, sourceWidth, sourceHeight, op);
    }

    bool mirrorX = (width < 0) != (sourceWidth < 0);
    bool mirrorY = (height < 0) != (sourceHeight < 0);
    Rect d = extentRect(x, y, width, height).translated(m_state.origin);
    Rect s = extentRect(sourceX, sourceY, sourceWidth, sourceHeight);
    Rect area = d.intersected(m_state.clip);
    if (area.isEmpty())
        return true;
    std::vector<int> columns = sampleMap(d.width(), s.width(), mirrorX);
    std::vector<int> rows = sampleMap(d.height(), s.height(), mirrorY);
    Colour pattern = m_state.brush.isNull() ? 0 : m_state.brush.colour;
    for (int row = area.top; row < area.bottom; ++row) {
        int sy = s.top + rows[std::size_t(row - d.top)];
        if (sy < 0 || sy >= source.height())
            continue;
        const Colour* from = source.row(sy);
        Colour* target = m_target->row(row);
        for (int column = area.left; column < area.right; ++column) {
            int sx = s.left + columns[std::size_t(column - d.left)];
            if (sx < 0 || sx >= source.width())
                continue;
            target[column] = op == SRCCOPY ? from[sx] : opaque(combine(op, target[column], from[sx], pattern));
        }
    }
    return true;
}

bool Painter::transparentBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY,
                             int sourceWidth, int sourceHeight, Colour transparent)
{
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return false;
    if (&source == m_target) {
        Surface snapshot = source;
        return transparentBlt(x, y, width, height, snapshot, sourceX, sourceY, sourceWidth, sourceHeight, transparent);
    }
    Colour key = opaque(transparent);
    Rect d = Rect::fromPositionAndSize(x, y, width, height).translated(m_state.origin);
    Rect area = d.intersected(m_state.clip);
    if (area.isEmpty())
        return true;
    std::vector<int> columns = sampleMap(width, sourceWidth, false);
    std::vector<int> rows = sampleMap(height, sourceHeight, false);
    for (int row = area.top; row < area.bottom; ++row) {
        int sy = sourceY + rows[std::size_t(row - d.top)];
        if (sy < 0 || sy >= source.height())
            continue;
        const Colour* from = source.row(sy);
        Colour* target = m_target->row(row);
        for (int column = area.left; column < area.right; ++column) {
            int sx = sourceX + columns[std::size_t(column - d.left)];
            if (sx < 0 || sx >= source.width())
                continue;
            Colour pixel = from[sx];
            if (pixel != key)
                target[column] = pixel;
        }
    }
    return true;
}

bool Painter::patBlt(int x, int y, int width, int height, RasterOp op)
{
    Rect area = normalised(Rect{x, y, x + width, y + height});
    switch (op) {
    case PATCOPY:
        fillRect(area, m_state.brush);
        return true;
    case BLACKNESS:
        fillRect(area, colours::black);
        return true;
    case WHITENESS:
        fillRect(area, colours::white);
        return true;
    case DSTINVERT:
        invertRect(area);
        return true;
    case PATINVERT: {
        if (m_state.brush.isNull())
            return true;
        Rect d = toDevice(area).intersected(m_state.clip);
        for (int row = d.top; row < d.bottom; ++row) {
            Colour* target = m_target->row(row);
            for (int column = d.left; column < d.right; ++column)
                target[column] ^= m_state.brush.colour;
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace gfx
