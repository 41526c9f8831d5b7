#pragma once
// CIniFile: a reader of section-structured text files ("[Section]" lines followed by key=value
// lines), the format of skin files. The file is read as single bytes, so 8-bit text and 16-bit
// little-endian text whose characters are below 256 read the same:
//
// - a byte 0 is skipped, a carriage return ends a line, other bytes below 32 are dropped, and
//   every byte from 32 to 255 becomes the character of that code;
// - a line counts only when more bytes follow its carriage return: a last line without a line
//   end, or whose carriage return is the file's very last byte, is not read;
// - lines are trimmed of blanks and empty ones skipped; "[name]" starts a section (the name is
//   kept as it stands between the brackets), sections keep file order even when names repeat;
// - any other line is split at its first "=" into key and value, both kept exactly (blanks next
//   to "=" belong to them) and added to the latest section unless that section already has the
//   key (ignoring case). Lines without "=" and lines before the first section are ignored. There
//   is no comment syntax.
//
// The reader is safe with any bytes. A file larger than MaxFileBytes is not read at all (it reads
// as a file without sections): section files are a few hundred bytes, and the limit bounds the
// memory and time one file can cost. A line longer than MaxLineCharacters is left out whole
// rather than cut, so a cut-off picture name can never be taken for a real one.

#include "common/QoString.h"
#include "skins/IniSection.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CIniFile {
public:
    static constexpr std::size_t MaxFileBytes = 64 * 1024;
    static constexpr std::size_t MaxLineCharacters = 1024;

    // A file without sections.
    CIniFile();
    // Opens the file of that device path and reads it; a file that cannot be opened or read, or
    // is too large, gives no sections.
    explicit CIniFile(const char16_t* path);
    virtual ~CIniFile();
    CIniFile(const CIniFile& other);
    CIniFile(CIniFile&& other) noexcept;
    CIniFile& operator=(const CIniFile& other);
    CIniFile& operator=(CIniFile&& other) noexcept;

    // Reads the file's contents from memory, replacing whatever was read before. Contents larger
    // than MaxFileBytes give no sections.
    void Parse(std::span<const std::uint8_t> bytes);

    // The first section of that name, ignoring case; null when there is none.
    const CIniSection* FindSection(const char16_t* name) const;
    const std::vector<CIniSection>& GetSections() const { return m_sections; }

private:
    bool Read(const char16_t* path);
    void AddLine(CQoString line);

    std::vector<CIniSection> m_sections;
};
