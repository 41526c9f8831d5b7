#include "platform/gfx/Font.h"

#include "platform/gfx/FontFace.h"
#include "platform/gfx/FontLibrary.h"
#include "platform/gfx/Utf16.h"

#include <algorithm>

namespace gfx {

namespace {
constexpr int defaultPointSize = 8;
constexpr int largestPixelHeight = 1000;
} // namespace

Font::Font() : Font(FontDescription{}) {}

Font::Font(const FontDescription& description) : m_description(description)
{
    m_face = FontLibrary::instance().face(m_description, pixelHeight());
}

Font Font::fromPoints(device::WideView faceName, int pointSize, int weight, bool italic, bool underline)
{
    FontDescription description;
    description.faceName = device::WideString(faceName);
    description.pointSize = pointSize;
    description.weight = weight;
    description.italic = italic;
    description.underline = underline;
    return Font(description);
}

Font Font::fromPixels(device::WideView faceName, int pixelHeight, int weight, bool italic, bool underline)
{
    FontDescription description;
    description.faceName = device::WideString(faceName);
    description.pixelHeight = pixelHeight;
    description.weight = weight;
    description.italic = italic;
    description.underline = underline;
    return Font(description);
}

int Font::pointsToPixels(int pointSize)
{
    if (pointSize <= 0)
        pointSize = defaultPointSize;
    pointSize = std::min(pointSize, largestPixelHeight);
    return (pointSize * 96 + 36) / 72;
}

int Font::pixelHeight() const
{
    if (m_description.pixelHeight > 0)
        return std::min(m_description.pixelHeight, largestPixelHeight);
    return pointsToPixels(m_description.pointSize);
}

const FontMetrics& Font::metrics() const
{
    return m_face->metrics();
}

device::WideString Font::familyName() const
{
    return device::fromUtf8(m_face->source().family);
}

bool Font::isFallback() const
{
    return m_face->source().fallback;
}

Size Font::textExtent(device::WideView text) const
{
    int width = 0;
    for (std::size_t i = 0; i < text.size();)
        width += m_face->advance(nextCodePoint(text, i));
    return {width, metrics().height};
}

int Font::advance(char32_t codePoint) const
{
    return m_face->advance(codePoint);
}

bool Font::operator==(const Font& other) const
{
    return m_face == other.m_face && m_description.underline == other.m_description.underline
        && m_description.strikeOut == other.m_description.strikeOut;
}

} // namespace gfx
