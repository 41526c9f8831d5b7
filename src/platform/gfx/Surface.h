#pragma once
// A bitmap: width × height pixels of 32 bits, rows top to bottom, each pixel a colour value
// 0x00BBGGRR (red in the low byte; the top byte is always 0). It is what a painter draws into (the
// handheld's memory device context with its bitmap), what an image decodes to, and what the screen
// shows. In memory the bytes of a pixel read R, G, B, 0, so a row can go straight to a PNG writer or
// to a window texture of that byte order.
//
// Copying a surface copies its pixels; moving it is cheap. A default-constructed surface is empty
// (0 × 0): every pixel read of it answers CLR_INVALID and every write is ignored.

#include "platform/gfx/Colour.h"
#include "platform/gfx/Rect.h"
#include "platform/gfx/Size.h"

#include <cstdint>
#include <span>
#include <vector>

namespace gfx {

class Surface {
public:
    // The largest side a surface may have; a request beyond it (or a negative one) yields an empty
    // surface, so that a bad size read from a file can never ask for gigabytes.
    static constexpr int maximumSide = 16384;
    static constexpr std::int64_t maximumPixels = 64LL * 1024 * 1024;

    Surface() = default;
    Surface(int width, int height, Colour fill = colours::black);
    explicit Surface(Size size, Colour fill = colours::black) : Surface(size.width, size.height, fill) {}

    int width() const { return m_width; }
    int height() const { return m_height; }
    Size size() const { return {m_width, m_height}; }
    Rect rect() const { return {0, 0, m_width, m_height}; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }

    // CLR_INVALID outside the surface.
    Colour pixel(int x, int y) const
    {
        return contains(x, y) ? m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] : CLR_INVALID;
    }
    // Ignored outside the surface. The top byte of the colour is dropped.
    void setPixel(int x, int y, Colour colour)
    {
        if (contains(x, y))
            m_pixels[std::size_t(y) * std::size_t(m_width) + std::size_t(x)] = opaque(colour);
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    // Direct access for the painter, decoders and blending arithmetic. Rows are `width()` pixels
    // long with no padding. Callers that write keep the top byte 0.
    Colour* row(int y) { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    const Colour* row(int y) const { return m_pixels.data() + std::size_t(y) * std::size_t(m_width); }
    std::span<Colour> pixels() { return m_pixels; }
    std::span<const Colour> pixels() const { return m_pixels; }

    void fill(Colour colour);
    // Clipped to the surface.
    void fillRect(const Rect& rect, Colour colour);
    // A new surface with the pixels of `rect` (clipped to this surface).
    Surface cropped(const Rect& rect) const;

    bool operator==(const Surface& other) const
    {
        return m_width == other.m_width && m_height == other.m_height && m_pixels == other.m_pixels;
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Colour> m_pixels;
};

} // namespace gfx
