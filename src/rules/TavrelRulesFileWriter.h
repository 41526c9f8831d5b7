#pragma once
// CTavrelRulesFileWriter: the bytes of a rules file, one "field,pattern,icon" line per rule in
// 16-bit little-endian characters ending with a carriage return and a line feed, without a
// byte-order mark. Other programs and the users' existing files rely on exactly this form.
//
// The form has no escapes, so a rule whose field or pattern holds a comma, or whose texts hold a
// line break, a byte-order mark or a zero character, would come back as a different rule. Such a
// rule cannot be stored: CanStore says so, and saving refuses it rather than corrupt the file.

#include "rules/TavrelRule.h"

#include <cstdint>
#include <vector>

class CTavrelRulesFileWriter {
public:
    static bool CanStore(const CTavrelRule& rule);
    static void AppendLine(const CTavrelRule& rule, std::vector<std::uint8_t>& bytes);
};
