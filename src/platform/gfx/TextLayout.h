#pragma once
// Lays text out in lines for the painter's drawText, by the DT_ format: line breaks, word
// wrapping to a width, "&" prefixes, tab stops and the end ellipsis. It measures only; the painter
// draws the lines it returns.

#include "platform/device/WideText.h"
#include "platform/gfx/Font.h"

#include <utility>
#include <vector>

namespace gfx {

struct TextLine {
    device::WideString text; // the characters to draw: prefixes taken out, ellipsis put in
    int width = 0;           // in pixels, tabs expanded
    std::vector<std::pair<int, int>> underlines; // pixel spans from the line's start, for "&x"
};

class TextLayout {
public:
    // `width` is the room for wrapping and for the ellipsis (ignored unless the format asks).
    TextLayout(const Font& font, unsigned format, int width);

    std::vector<TextLine> layout(device::WideView text) const;

    // The pixels a character takes when the line so far is `x` wide (tabs step to the next stop).
    int advance(char32_t codePoint, int x) const;
    // The width of one line drawn from x = 0.
    int measure(device::WideView text) const;
    // Tab stops with DT_EXPANDTABS: every eight average character widths.
    int tabWidth() const { return m_tabWidth; }

private:
    struct Marked {
        device::WideString text;
        std::vector<bool> underlined; // per code unit of text
    };
    Marked takeOutPrefixes(device::WideView text) const;
    void wrap(const Marked& paragraph, std::vector<TextLine>& lines) const;
    TextLine makeLine(const Marked& paragraph, std::size_t begin, std::size_t end) const;
    void addEllipsis(TextLine& line) const;

    const Font& m_font;
    unsigned m_format;
    int m_width;
    int m_tabWidth;
};

} // namespace gfx
