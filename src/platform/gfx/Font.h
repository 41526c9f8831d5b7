#pragma once
// A font: a face found by name through the host's font configuration, at a size, rendered with
// FreeType. Copying a Font is cheap (it shares one cached face and glyph cache), so painters and
// controls keep Fonts by value.
//
// Sizes: a point is 96/72 of a pixel, as on the handheld's screen (MulDiv(points, 96, 72)), and
// that many pixels make both the em height and the cell height: 8-point text is 11 pixels from one
// line to the next. Faces that carry hand-tuned bitmaps for a size (Tahoma from 8 to 16 pixels)
// draw those, crisp and one-coloured like the handheld; other sizes are smoothed outlines.
//
// When the named face is not installed, DejaVu Sans stands in (isFallback() tells). A bold or
// italic style the face does not carry is made from the regular outlines.

#include "platform/device/WideText.h"
#include "platform/gfx/FontDescription.h"
#include "platform/gfx/FontMetrics.h"
#include "platform/gfx/Size.h"

#include <memory>

namespace gfx {

class FontFace;

class Font {
public:
    // The default font of a new painter: Tahoma, 8 points.
    Font();
    explicit Font(const FontDescription& description);
    static Font fromPoints(device::WideView faceName, int pointSize, int weight = FW_NORMAL, bool italic = false,
                           bool underline = false);
    static Font fromPixels(device::WideView faceName, int pixelHeight, int weight = FW_NORMAL, bool italic = false,
                           bool underline = false);

    // MulDiv(points, 96, 72): 6 → 8, 7 → 9, 8 → 11, 16 → 21.
    static int pointsToPixels(int pointSize);
    // The face that stands in for a missing one.
    static constexpr const char16_t* fallbackFaceName = u"DejaVu Sans";

    const FontDescription& description() const { return m_description; }
    int pixelHeight() const;
    const FontMetrics& metrics() const;
    int height() const { return metrics().height; }

    // The family actually drawn ("Tahoma", or "DejaVu Sans" when the named face is missing).
    device::WideString familyName() const;
    bool isFallback() const;

    // Size of one line of text: the sum of the characters' advances and the cell height. No
    // prefix, tab or line-break processing (the painter's text calls do that).
    Size textExtent(device::WideView text) const;
    // Advance of one character in pixels.
    int advance(char32_t codePoint) const;

    // Fonts are equal when they draw with the same face at the same size and style.
    bool operator==(const Font& other) const;

    // The rendering face, for the painter.
    FontFace& face() const { return *m_face; }

private:
    FontDescription m_description;
    std::shared_ptr<FontFace> m_face;
};

} // namespace gfx
