#include "platform/gfx/FontLibrary.h"

#include "platform/device/WideText.h"
#include "platform/gfx/Font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace gfx {

namespace {

// Opened faces kept although no Font uses them any more, so that a painter creating its fonts
// afresh on every paint finds them again.
constexpr std::size_t keptFaces = 48;

bool sameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; };
        return fold(x) == fold(y);
    });
}

// The face file, family and missing styles of a face fontconfig chose.
void fillSource(FontSource& source, FcPattern* found, bool bold, bool italic)
{
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) != FcResultMatch)
        return;
    source.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch)
        source.index = index;
    FcChar8* name = nullptr;
    if (source.family.empty() && FcPatternGetString(found, FC_FAMILY, 0, &name) == FcResultMatch)
        source.family = reinterpret_cast<const char*>(name);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(found, FC_SLANT, 0, &slant);
    source.syntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
    source.syntheticItalic = italic && slant == FC_SLANT_ROMAN;
}

} // namespace

FontLibrary& FontLibrary::instance()
{
    // Never destroyed: fonts held by static objects may outlive any order of static destruction.
    static FontLibrary* library = new FontLibrary();
    return *library;
}

FontLibrary::FontLibrary()
{
    FT_Init_FreeType(&m_freeType);
    FcInit();
    // Font configuration keeps its own caches until it is finished; finish it at exit so that
    // leak checkers see a clean process. Only this class uses it, and only while matching.
    std::atexit([] {
        FcFontSetDestroy(instance().m_handheldFaces);
        FcFini();
    });
    m_handheldFaces = FcFontSetCreate();
    std::error_code error;
    if (!std::filesystem::is_directory(handheldFontFolder, error))
        return;
    FcConfigAppFontAddDir(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(handheldFontFolder));
    // The handheld's faces are also kept in a set of their own and matched first: the host's
    // configuration may refuse faces that come as bitmaps only (the "System" face does), and a
    // face the handheld has must not lose to a host face with a similar name.
    for (const auto& entry : std::filesystem::directory_iterator(handheldFontFolder, error)) {
        std::string extension = entry.path().extension().string();
        for (auto& c : extension)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (extension != ".ttf" && extension != ".ttc" && extension != ".otf")
            continue;
        FcFreeTypeQueryAll(reinterpret_cast<const FcChar8*>(entry.path().c_str()), -1, nullptr, nullptr,
                           m_handheldFaces);
    }
}

FontSource FontLibrary::match(FcFontSet* faces, const std::string& family, int pixelHeight, bool bold, bool italic,
                              bool outlineOnly, bool requireFamily)
{
    FontSource source;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern)
        return source;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, double(pixelHeight));
    if (outlineOnly)
        FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = faces ? FcFontSetMatch(nullptr, &faces, 1, pattern, &result) : FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!found)
        return source;

    // Font configuration always answers with something; only a face of the family asked for counts.
    bool familyMatches = false;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (sameNameIgnoringCase(reinterpret_cast<const char*>(name), family)) {
            familyMatches = true;
            source.family = reinterpret_cast<const char*>(name);
            break;
        }
    }
    if (familyMatches || !requireFamily)
        fillSource(source, found, bold, italic);
    FcPatternDestroy(found);
    return source;
}

FontSource FontLibrary::matchCharacter(char32_t codePoint, int pixelHeight, bool bold, bool italic)
{
    CharacterKey key{codePoint, pixelHeight, bold, italic};
    if (auto known = m_resolvedCharacters.find(key); known != m_resolvedCharacters.end())
        return known->second;
    FontSource source;
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* wanted = FcCharSetCreate();
    if (pattern && wanted) {
        FcCharSetAddChar(wanted, FcChar32(codePoint));
        FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddDouble(pattern, FC_PIXEL_SIZE, double(pixelHeight));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        // The sorted list puts faces with the character first, but a face without it may still
        // lead when none has it: take the first that really has it.
        FcResult result = FcResultNoMatch;
        if (FcFontSet* sorted = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result)) {
            for (int i = 0; i < sorted->nfont && source.path.empty(); ++i) {
                FcCharSet* characters = nullptr;
                if (FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &characters) == FcResultMatch
                    && FcCharSetHasChar(characters, FcChar32(codePoint)))
                    fillSource(source, sorted->fonts[i], bold, italic);
            }
            FcFontSetDestroy(sorted);
        }
    }
    if (wanted)
        FcCharSetDestroy(wanted);
    if (pattern)
        FcPatternDestroy(pattern);
    m_resolvedCharacters.emplace(key, source);
    return source;
}

FontSource FontLibrary::resolve(const FontDescription& description, int pixelHeight)
{
    bool bold = description.isBold();
    bool italic = description.italic;
    std::u16string folded = description.faceName;
    for (auto& c : folded)
        c = device::foldLower(c);
    ResolveKey key{folded, pixelHeight, bold, italic};
    if (auto known = m_resolved.find(key); known != m_resolved.end())
        return known->second;

    FontSource source;
    std::string family = device::toUtf8(description.faceName);
    // Outline faces first; a face that only comes as bitmaps (the handheld's "System") is taken
    // when the family has nothing else.
    for (FcFontSet* faces : {m_handheldFaces, static_cast<FcFontSet*>(nullptr)}) {
        if (!family.empty() && source.path.empty())
            source = match(faces, family, pixelHeight, bold, italic, true, true);
        if (!family.empty() && source.path.empty())
            source = match(faces, family, pixelHeight, bold, italic, false, true);
    }
    if (source.path.empty()) {
        std::string fallback = device::toUtf8(Font::fallbackFaceName);
        source = match(nullptr, fallback, pixelHeight, bold, italic, true, true);
        if (source.path.empty())
            source = match(nullptr, fallback, pixelHeight, bold, italic, false, false);
        source.fallback = true;
    }
    m_resolved.emplace(key, source);
    return source;
}

std::shared_ptr<FontFace> FontLibrary::face(const FontDescription& description, int pixelHeight)
{
    std::lock_guard lock(m_mutex);
    return openFace(resolve(description, pixelHeight), pixelHeight);
}

std::shared_ptr<FontFace> FontLibrary::faceForCharacter(char32_t codePoint, int pixelHeight, bool bold, bool italic)
{
    std::lock_guard lock(m_mutex);
    const FontSource source = matchCharacter(codePoint, pixelHeight, bold, italic);
    if (source.path.empty())
        return nullptr;
    return openFace(source, pixelHeight);
}

std::shared_ptr<FontFace> FontLibrary::openFace(const FontSource& source, int pixelHeight)
{
    FaceKey key{source.path, source.index, pixelHeight, source.syntheticBold, source.syntheticItalic, source.fallback};
    if (auto known = m_faces.find(key); known != m_faces.end()) {
        m_recent.remove(key);
        m_recent.push_front(key);
        return known->second;
    }
    auto face = std::make_shared<FontFace>(source, pixelHeight);
    m_faces.emplace(key, face);
    m_recent.push_front(key);
    // Trim faces that only the cache still holds, oldest first.
    for (auto it = m_recent.end(); m_faces.size() > keptFaces && it != m_recent.begin();) {
        --it;
        auto entry = m_faces.find(*it);
        if (entry != m_faces.end() && entry->second.use_count() == 1) {
            m_faces.erase(entry);
            it = m_recent.erase(it);
        }
    }
    return face;
}

} // namespace gfx
