#include "platform/gfx/TextLayout.h"

#include "platform/gfx/GdiConstants.h"
#include "platform/gfx/Utf16.h"

#include <algorithm>

namespace gfx {

namespace {

bool isLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
bool isBreakSpace(char16_t c) { return c == u' ' || c == u'\t'; }

} // namespace

TextLayout::TextLayout(const Font& font, unsigned format, int width)
    : m_font(font), m_format(format), m_width(width),
      m_tabWidth(std::max(1, 8 * std::max(1, font.metrics().averageCharWidth)))
{
}

int TextLayout::advance(char32_t codePoint, int x) const
{
    if (codePoint == U'\t' && (m_format & DT_EXPANDTABS))
        return m_tabWidth - x % m_tabWidth;
    return m_font.advance(codePoint);
}

int TextLayout::measure(device::WideView text) const
{
    int x = 0;
    for (std::size_t i = 0; i < text.size();)
        x += advance(nextCodePoint(text, i), x);
    return x;
}

TextLayout::Marked TextLayout::takeOutPrefixes(device::WideView text) const
{
    Marked result;
    result.text.reserve(text.size());
    if (m_format & DT_NOPREFIX) {
        result.text.assign(text);
        result.underlined.assign(text.size(), false);
        return result;
    }
    bool hide = (m_format & DT_HIDEPREFIX) != 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            result.text.push_back(text[i]);
            result.underlined.push_back(false);
            continue;
        }
        if (i + 1 >= text.size())
            break; // a lone "&" at the end marks nothing and is not drawn
        ++i;
        result.text.push_back(text[i]);
        // "&&" is a plain ampersand; "&x" underlines x.
        result.underlined.push_back(text[i] != u'&' && !hide && !isLineBreak(text[i]));
    }
    return result;
}

TextLine TextLayout::makeLine(const Marked& paragraph, std::size_t begin, std::size_t end) const
{
    TextLine line;
    line.text.assign(paragraph.text, begin, end - begin);
    int x = 0;
    for (std::size_t i = begin; i < end;) {
        std::size_t at = i;
        int step = advance(nextCodePoint(paragraph.text, i), x);
        if (paragraph.underlined[at] && step > 0)
            line.underlines.emplace_back(x, x + step);
        x += step;
    }
    line.width = x;
    return line;
}

void TextLayout::wrap(const Marked& paragraph, std::vector<TextLine>& lines) const
{
    const device::WideString& text = paragraph.text;
    bool wordBreak = (m_format & DT_WORDBREAK) && !(m_format & DT_SINGLELINE);
    if (!wordBreak || text.empty()) {
        lines.push_back(makeLine(paragraph, 0, text.size()));
        return;
    }

    std::size_t start = 0;
    while (start < text.size()) {
        int x = 0;
        std::size_t i = start;
        std::size_t breakAt = std::u16string::npos; // where the line may end, before a run of spaces
        std::size_t nextWord = std::u16string::npos; // where the following line then starts
        bool afterSpace = false;
        bool broke = false;
        while (i < text.size()) {
            std::size_t at = i;
            char16_t unit = text[at];
            if (isBreakSpace(unit)) {
                if (!afterSpace && at > start)
                    breakAt = at;
                afterSpace = true;
                x += advance(nextCodePoint(text, i), x);
                continue; // spaces may run past the edge: they vanish at the break
            }
            if (afterSpace && breakAt != std::u16string::npos)
                nextWord = at;
            afterSpace = false;
            std::size_t next = at;
            int step = advance(nextCodePoint(text, next), x);
            if (x + step > m_width && at > start) {
                if (breakAt != std::u16string::npos && nextWord != std::u16string::npos) {
                    lines.push_back(makeLine(paragraph, start, breakAt));
                    start = nextWord;
                } else {
                    // One word wider than the room: break it between characters.
                    lines.push_back(makeLine(paragraph, start, at));
                    start = at;
                }
                broke = true;
                break;
            }
            x += step;
            i = next;
        }
        if (!broke) {
            lines.push_back(makeLine(paragraph, start, text.size()));
            break;
        }
    }
}

void TextLayout::addEllipsis(TextLine& line) const
{
    if (line.width <= m_width)
        return;
    static constexpr device::WideView dots = u"...";
    int dotsWidth = measure(dots);
    std::size_t keep = 0;
    int x = 0;
    for (std::size_t i = 0; i < line.text.size();) {
        std::size_t next = i;
        int step = advance(nextCodePoint(line.text, next), x);
        if (x + step + dotsWidth > m_width)
            break;
        x += step;
        i = next;
        keep = i;
    }
    line.text.resize(keep);
    line.text.append(dots);
    line.width = x + dotsWidth;
    std::erase_if(line.underlines, [x](const auto& span) { return span.second > x; });
}

std::vector<TextLine> TextLayout::layout(device::WideView text) const
{
    std::vector<TextLine> lines;
    Marked marked = takeOutPrefixes(text);
    if (marked.text.empty())
        return lines;

    if (m_format & DT_SINGLELINE) {
        lines.push_back(makeLine(marked, 0, marked.text.size()));
    } else {
        // Paragraphs end at CR, LF or CR LF. A break at the very end adds no empty line.
        std::size_t begin = 0;
        while (begin <= marked.text.size()) {
            std::size_t end = begin;
            while (end < marked.text.size() && !isLineBreak(marked.text[end]))
                ++end;
            Marked paragraph;
            paragraph.text = marked.text.substr(begin, end - begin);
            paragraph.underlined.assign(marked.underlined.begin() + std::ptrdiff_t(begin),
                                        marked.underlined.begin() + std::ptrdiff_t(end));
            wrap(paragraph, lines);
            if (end >= marked.text.size())
                break;
            std::size_t after = end + 1;
            if (marked.text[end] == u'\r' && after < marked.text.size() && marked.text[after] == u'\n')
                ++after;
            if (after >= marked.text.size())
                break;
            begin = after;
        }
    }
    if (m_format & DT_END_ELLIPSIS)
        for (auto& line : lines)
            addEllipsis(line);
    return lines;
}

} // namespace gfx
