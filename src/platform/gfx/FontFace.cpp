#include "platform/gfx/FontFace.h"

#include "platform/gfx/FontLibrary.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

int scaled(long fontUnits, int pixels, int unitsPerEm)
{
    if (unitsPerEm <= 0)
        return 0;
    return int(std::lround(double(fontUnits) * pixels / unitsPerEm));
}

// The handheld thickens a bold it has to make up by drawing each glyph twice, one pixel apart.
void embolden(Glyph& glyph)
{
    if (glyph.width == 0 || glyph.height == 0) {
        glyph.advance += glyph.advance > 0 ? 1 : 0;
        return;
    }
    int width = glyph.width + 1;
    std::vector<std::uint8_t> coverage(std::size_t(width) * std::size_t(glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        const std::uint8_t* source = glyph.coverage.data() + std::size_t(y) * std::size_t(glyph.width);
        std::uint8_t* target = coverage.data() + std::size_t(y) * std::size_t(width);
        for (int x = 0; x < width; ++x) {
            std::uint8_t here = x < glyph.width ? source[x] : 0;
            std::uint8_t left = x > 0 ? source[x - 1] : 0;
            target[x] = std::max(here, left);
        }
    }
    glyph.coverage = std::move(coverage);
    glyph.width = width;
    glyph.advance += 1;
}

} // namespace

FontFace::FontFace(const FontSource& source, int pixelHeight) : m_source(source), m_pixelHeight(std::max(1, pixelHeight))
{
    if (!m_source.path.empty()) {
        FontLibrary& library = FontLibrary::instance();
        std::lock_guard lock(library.freeTypeMutex());
        FT_Face face = nullptr;
        if (FT_New_Face(library.freeType(), m_source.path.c_str(), m_source.index, &face) == 0) {
            bool sized = FT_Set_Pixel_Sizes(face, 0, FT_UInt(m_pixelHeight)) == 0;
            if (!sized && face->num_fixed_sizes > 0) {
                // A face with bitmaps only: take the strike nearest to the size asked for.
                int best = 0;
                for (int i = 1; i < face->num_fixed_sizes; ++i)
                    if (std::abs(face->available_sizes[i].height - m_pixelHeight)
                        < std::abs(face->available_sizes[best].height - m_pixelHeight))
                        best = i;
                sized = FT_Select_Size(face, best) == 0;
            }
            if (sized)
                m_face = face;
            else
                FT_Done_Face(face);
        }
    }
    computeMetrics();
    m_measuring = false;
}

FontFace::~FontFace()
{
    if (m_face) {
        std::lock_guard lock(FontLibrary::instance().freeTypeMutex());
        FT_Done_Face(m_face);
    }
}

void FontFace::computeStrikeMetrics()
{
    // A face of bitmaps only draws at the strike chosen, so its cell is that strike's.
    const FT_Size_Metrics& size = m_face->size->metrics;
    int ascent = int((size.ascender + 32) >> 6);
    int descent = int((-size.descender + 32) >> 6);
    if (ascent <= 0) {
        ascent = std::max(1, int(size.y_ppem));
        descent = 0;
    }
    m_metrics.ascent = ascent;
    m_metrics.descent = std::max(0, descent);
    m_metrics.height = m_metrics.ascent + m_metrics.descent;
    m_metrics.internalLeading = 0;
    m_metrics.externalLeading = 0;
    m_underlineOffset = 1;
    m_lineThickness = 1;
}

void FontFace::computeOutlineMetrics()
{
    // The em square is the cell: split it between ascent and descent in the proportion the face
    // gives its (Windows) ascent and descent, which is where the handheld puts the baseline.
    int ppem = m_pixelHeight;
    long ascender = m_face->ascender;
    long descender = -m_face->descender;
    long lineGap = m_face->height - (ascender + descender);
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        long winAscent = os2->usWinAscent;
        long winDescent = os2->usWinDescent;
        lineGap = std::max(0L, lineGap - ((winAscent + winDescent) - (ascender + descender)));
        ascender = winAscent;
        descender = winDescent;
    }
    if (ascender + descender <= 0) {
        ascender = 4;
        descender = 1;
    }
    m_metrics.height = ppem;
    m_metrics.ascent = int(std::lround(double(ppem) * double(ascender) / double(ascender + descender)));
    m_metrics.descent = ppem - m_metrics.ascent;
    m_metrics.internalLeading = 0;
    int unitsPerEm = m_face->units_per_EM;
    m_metrics.externalLeading = std::max(0, scaled(lineGap, ppem, unitsPerEm));
    if (unitsPerEm > 0)
        m_overhang = std::max(0, int(std::ceil(double(ascender) * ppem / unitsPerEm)) - m_metrics.ascent);
    m_underlineOffset = std::max(1, scaled(-m_face->underline_position, ppem, unitsPerEm));
    m_lineThickness = std::max(1, scaled(m_face->underline_thickness, ppem, unitsPerEm));
    m_underlineOffset = std::min(m_underlineOffset, std::max(1, m_metrics.descent - m_lineThickness + 1));
}

void FontFace::computeMetrics()
{
    int ppem = m_pixelHeight;
    m_metrics.height = ppem;
    if (!m_face) {
        m_metrics.ascent = ppem - ppem / 5;
        m_metrics.descent = ppem - m_metrics.ascent;
        m_metrics.averageCharWidth = 0;
        m_metrics.maxCharWidth = 0;
        return;
    }

    if (FT_IS_SCALABLE(m_face))
        computeOutlineMetrics();
    else
        computeStrikeMetrics();

    // Average width as the handheld's dialogs figure it: the letters a-z and A-Z, halved and
    // rounded.
    int letters = 0;
    for (char32_t c = 'a'; c <= 'z'; ++c)
        letters += advance(c) + advance(c - 'a' + 'A');
    m_metrics.averageCharWidth = (letters / 26 + 1) / 2;
    m_metrics.maxCharWidth = std::max(int((m_face->size->metrics.max_advance + 32) >> 6), m_metrics.averageCharWidth);
}

const Glyph* FontFace::cached(char32_t codePoint) const
{
    if (codePoint < m_latin.size())
        return m_latin[codePoint].get();
    auto found = m_others.find(codePoint);
    return found == m_others.end() ? nullptr : &found->second;
}

const Glyph& FontFace::keep(char32_t codePoint, Glyph glyph)
{
    // Another thread may have kept the character meanwhile; the first one stays, so references
    // handed out remain valid.
    if (const Glyph* known = cached(codePoint))
        return *known;
    if (codePoint < m_latin.size())
        return *(m_latin[codePoint] = std::make_unique<Glyph>(std::move(glyph)));
    return m_others.emplace(codePoint, std::move(glyph)).first->second;
}

bool FontFace::hasCharacter(char32_t codePoint) const
{
    return m_face && FT_Get_Char_Index(m_face, FT_ULong(codePoint)) != 0;
}

const Glyph& FontFace::glyph(char32_t codePoint)
{
    {
        std::lock_guard lock(m_mutex);
        if (const Glyph* known = cached(codePoint))
            return *known;
        if (!m_face || codePoint < 0x20 || m_measuring || hasCharacter(codePoint))
            return keep(codePoint, render(codePoint));
    }
    // Rendered without this face's lock, so that two faces standing in for each other's
    // characters on two threads never wait for each other.
    Glyph drawn = renderElsewhere(codePoint);
    std::lock_guard lock(m_mutex);
    return keep(codePoint, std::move(drawn));
}

Glyph FontFace::renderElsewhere(char32_t codePoint)
{
    bool bold = m_source.syntheticBold;
    bool italic = m_source.syntheticItalic;
    if (m_face) {
        bold = bold || (m_face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        italic = italic || (m_face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    }
    std::shared_ptr<FontFace> other = FontLibrary::instance().faceForCharacter(codePoint, m_pixelHeight, bold, italic);
    if (other && other.get() != this)
        return other->glyph(codePoint);
    std::lock_guard lock(m_mutex);
    return render(codePoint);
}

Glyph FontFace::render(char32_t codePoint)
{
    Glyph result;
    if (!m_face || codePoint < 0x20)
        return result;

    FT_UInt index = FT_Get_Char_Index(m_face, FT_ULong(codePoint));
    FT_Int32 flags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL;
    if (m_source.syntheticItalic)
        flags |= FT_LOAD_NO_BITMAP; // the slant is applied to outlines
    if (FT_Load_Glyph(m_face, index, flags) != 0)
        return result;
    FT_GlyphSlot slot = m_face->glyph;
    if (m_source.syntheticItalic && slot->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_GlyphSlot_Oblique(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return result;

    result.advance = int((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO || bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
        result.left = slot->bitmap_left;
        result.top = slot->bitmap_top;
        result.width = int(bitmap.width);
        result.height = int(bitmap.rows);
        result.coverage.resize(std::size_t(result.width) * std::size_t(result.height));
        int greys = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
        for (int y = 0; y < result.height; ++y) {
            const unsigned char* source = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
            std::uint8_t* target = result.coverage.data() + std::size_t(y) * std::size_t(result.width);
            for (int x = 0; x < result.width; ++x) {
                if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                    target[x] = (source[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                else
                    target[x] = std::uint8_t(greys == 255 ? source[x] : source[x] * 255 / greys);
            }
        }
    }
    if (m_source.syntheticBold)
        embolden(result);
    return result;
}

} // namespace gfx
