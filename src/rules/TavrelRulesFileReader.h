#pragma once
// CTavrelRulesFileReader: turns the bytes of a rules file into rules.
//
// A rules file is 16-bit little-endian text, one rule a line, "field,pattern,icon" (or the older
// two-column form "pattern,icon", a "Subject" rule). A carriage return ends a line, line feeds
// and byte-order marks are skipped wherever they stand, and a last line without its carriage
// return does not count. Lines without a comma are skipped.
//
// The file comes from outside the program, so the reader is fed in pieces of any size and keeps
// its memory bounded: a line longer than MaxLineLength is skipped whole, and reading stops taking
// rules after MaxRules of them (far more than anyone keeps; the rules dialog shows every one).
// A file larger than MaxFileSize — more than MaxRules lines of MaxLineLength characters, the
// most Save ever writes — is not read at all.

#include "rules/TavrelRule.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CTavrelRulesFileReader {
public:
    static constexpr std::size_t MaxLineLength = 8192;
    static constexpr std::size_t MaxRules = 10000;
    // Bytes: MaxRules lines of MaxLineLength characters and their CR LF, two bytes a character.
    static constexpr std::uint64_t MaxFileSize = std::uint64_t(MaxRules) * (MaxLineLength + 2) * 2;

    CTavrelRulesFileReader() = default;
    virtual ~CTavrelRulesFileReader() = default;

    void Feed(const std::uint8_t* bytes, std::size_t size);

    // The rules of every line ended so far, in file order.
    std::vector<CTavrelRule>& GetRules() { return m_rules; }
    // Lines that were dropped for their length or for the rule limit (not lines without a comma).
    std::size_t GetDroppedLines() const { return m_droppedLines; }
    // Whether the bytes fed so far are a whole rules file as Save writes one: whole 16-bit
    // characters, every line ended by its carriage return, every line with text in it a rule
    // (no line without a comma, none dropped) and no zero character. An empty file is one too.
    // Load brings a backup back only when it is: a damaged or stray file never replaces rules.
    bool IsWellFormed() const;

    // One line without its ending: false when it holds no comma.
    static bool ParseLine(device::WideView line, CTavrelRule& rule);

private:
    void TakeCharacter(char16_t c);
    void EndLine();

    std::vector<CTavrelRule> m_rules;
    device::WideString m_line;
    bool m_lineTooLong = false;
    bool m_hasPendingByte = false;
    std::uint8_t m_pendingByte = 0;
    std::size_t m_droppedLines = 0;
    std::size_t m_linesWithoutComma = 0;
    bool m_zeroCharacter = false;
};
