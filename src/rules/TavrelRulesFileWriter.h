#pragma once
// CTavrelRulesFileWriter: the bytes of a rules file, one "field,pattern,icon" line per rule in
// 16-bit little-endian characters ending with a carriage return and a line feed, without a
// byte-order mark. Other programs and the users' existing files rely on exactly this form.
//
// The form has no escapes, so a rule whose field or pattern holds a comma, or whose texts hold a
// line break, a byte-order mark or a zero character, would come back as a different rule. Such a
// rule cannot be stored: CanStore says so, FindProblem says why (for the message Rule Details
// shows), and saving refuses it rather than corrupt the file.

#include "rules/TavrelRule.h"
#include "rules/TavrelRulesFileReader.h"

#include <cstdint>
#include <vector>

class CTavrelRulesFileWriter {
public:
    enum class Problem {
        None,
        Comma,      // in the field or the pattern, where a comma would end the part early
        LineBreak,  // anywhere: a carriage return or line feed would end the line
        Unreadable, // a zero character or a byte-order mark, which reading drops
        TooLong,    // the line would be longer than reading accepts
    };
    // Field, pattern and icon together, with the two commas, fill a line of at most this length.
    static constexpr std::size_t MaxTextLength = CTavrelRulesFileReader::MaxLineLength - 2;

    static Problem FindProblem(const CTavrelRule& rule);
    static bool CanStore(const CTavrelRule& rule) { return FindProblem(rule) == Problem::None; }
    static void AppendLine(const CTavrelRule& rule, std::vector<std::uint8_t>& bytes);
};
