#pragma once
// One face file opened at one pixel size, with its metrics and a cache of rendered glyphs. Fonts
// share FontFaces through the FontLibrary; a FontFace may be used from several threads.

#include "platform/gfx/FontMetrics.h"
#include "platform/gfx/Glyph.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

struct FT_FaceRec_;

namespace gfx {

// Which face file to open and how to style it.
struct FontSource {
    std::string path;      // empty: no face could be found at all
    int index = 0;         // face index inside the file
    std::string family;    // the family name as fontconfig reports it
    bool syntheticBold = false;   // bold was asked for but the face is regular
    bool syntheticItalic = false; // italic was asked for but the face is upright
    bool fallback = false;        // the named face was missing and this one stands in

    bool operator==(const FontSource&) const = default;
};

class FontFace {
public:
    // Opens the face; a face that cannot be opened still measures (height from the pixel size)
    // but draws nothing.
    FontFace(const FontSource& source, int pixelHeight);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool isValid() const { return m_face != nullptr; }
    const FontSource& source() const { return m_source; }
    int pixelHeight() const { return m_pixelHeight; }
    const FontMetrics& metrics() const { return m_metrics; }
    // Rows of ink the face may put above the cell: the em square is the cell, and the face's own
    // ascent (where capitals carry their accents) can reach higher than the cell's ascent.
    int overhang() const { return m_overhang; }
    // Offset of the underline below the baseline and its thickness, in pixels.
    int underlineOffset() const { return m_underlineOffset; }
    int lineThickness() const { return m_lineThickness; }

    // The rendered glyph of a character; the reference stays valid as long as the face lives.
    // Characters below U+0020 have no width and no ink. A character the face lacks is drawn by
    // the host face that has it (FontLibrary::faceForCharacter), at the same size and style; only
    // when no face has it does the face's own missing-character box stand in.
    const Glyph& glyph(char32_t codePoint);
    int advance(char32_t codePoint) { return glyph(codePoint).advance; }

private:
    Glyph render(char32_t codePoint);
    bool hasCharacter(char32_t codePoint) const;
    const Glyph* cached(char32_t codePoint) const;
    const Glyph& keep(char32_t codePoint, Glyph glyph);
    Glyph renderElsewhere(char32_t codePoint);
    void computeMetrics();
    void computeOutlineMetrics();
    void computeStrikeMetrics();

    FontSource m_source;
    int m_pixelHeight;
    FT_FaceRec_* m_face = nullptr;
    FontMetrics m_metrics;
    int m_overhang = 0;
    int m_underlineOffset = 1;
    int m_lineThickness = 1;
    bool m_measuring = true; // while the constructor measures, no other face is asked for

    std::mutex m_mutex;
    std::array<std::unique_ptr<Glyph>, 256> m_latin; // the characters almost every text uses
    std::unordered_map<char32_t, Glyph> m_others;    // node-based: references stay valid
};

} // namespace gfx
