#pragma once
// The process's fonts: the FreeType library, the host's font configuration (with the folder of
// the handheld's faces added, so that "Tahoma" and "System" resolve) and a cache of opened faces,
// so that creating the same font again costs a lookup.

#include "platform/gfx/FontDescription.h"
#include "platform/gfx/FontFace.h"

#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

struct FT_LibraryRec_;
struct _FcFontSet;
typedef struct _FcFontSet FcFontSet;

namespace gfx {

class FontLibrary {
public:
    // Folders with the handheld's faces, added to the font configuration at start.
    static constexpr const char* handheldFontFolder = "/usr/share/wine/fonts";

    static FontLibrary& instance();

    std::shared_ptr<FontFace> face(const FontDescription& description, int pixelHeight);
    // The face that draws a character another face lacks: the host's font configuration's first
    // choice among the faces that have it, at the same size and style. Null when no face has it.
    std::shared_ptr<FontFace> faceForCharacter(char32_t codePoint, int pixelHeight, bool bold, bool italic);

    // FreeType's library object, and the lock that must be held while faces are opened or closed.
    FT_LibraryRec_* freeType() const { return m_freeType; }
    std::mutex& freeTypeMutex() { return m_freeTypeMutex; }

private:
    FontLibrary();
    FontSource resolve(const FontDescription& description, int pixelHeight);
    FontSource match(FcFontSet* faces, const std::string& family, int pixelHeight, bool bold, bool italic, bool outlineOnly,
                     bool requireFamily);
    FontSource matchCharacter(char32_t codePoint, int pixelHeight, bool bold, bool italic);
    std::shared_ptr<FontFace> openFace(const FontSource& source, int pixelHeight);

    using ResolveKey = std::tuple<std::u16string, int, bool, bool>; // folded face name, pixels, bold, italic
    using CharacterKey = std::tuple<char32_t, int, bool, bool>;     // character, pixels, bold, italic
    using FaceKey = std::tuple<std::string, int, int, bool, bool, bool>;

    FT_LibraryRec_* m_freeType = nullptr;
    FcFontSet* m_handheldFaces = nullptr;
    std::mutex m_freeTypeMutex;
    std::mutex m_mutex;
    std::map<ResolveKey, FontSource> m_resolved;
    std::map<CharacterKey, FontSource> m_resolvedCharacters;
    std::map<FaceKey, std::shared_ptr<FontFace>> m_faces;
    std::list<FaceKey> m_recent; // most recently used first, for trimming the face cache
};

} // namespace gfx
