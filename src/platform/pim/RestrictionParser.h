#pragma once
// Reads the store's restriction text:
//
//   [End] >= "12/1/2026 12:00:00 AM" AND [Start] <= "12/31/2026 11:59:59 PM"
//   ([Categories] = "Holiday" OR [Subject] = "Lunch") AND [AllDayEvent] = False
//
// Fields in brackets, any letter case: [Start] and [End] (dates, written as the device locale
// reads them), [Subject], [Location], [Categories] (texts, compared without regard to ASCII
// case; "=" on [Categories] holds when any one of the listed categories matches), [AllDayEvent]
// and [IsRecurring] (True or False, quoted or not; 1, 0 and -1 too; only = and <>). Operators
// =, <>, <, <=, >, >=. Values in double or single quotes; the quote itself is written twice inside
// ("say ""hi"""). AND binds tighter than OR; parentheses group. Blank text matches everything.
//
// Any text is safe to hand in: the length, the nesting of parentheses and the number of
// comparisons are bounded, and text beyond the bounds is refused, not read further.

#include "platform/device/WideText.h"
#include "platform/pim/Restriction.h"

#include <optional>
#include <string>

namespace pim {

class RestrictionParser {
public:
    static constexpr std::size_t kMaxLength = 4096;
    static constexpr int kMaxDepth = 32;
    static constexpr std::size_t kMaxComparisons = 128;

    // The restriction, or nothing (and, when asked, the reason in English).
    static std::optional<Restriction> parse(device::WideView text, std::string* reason = nullptr);

private:
    explicit RestrictionParser(device::WideView text) : m_text(text) {}

    // Each returns the index of the node it added, or nothing on error.
    std::optional<std::size_t> parseOr(int depth);
    std::optional<std::size_t> parseAnd(int depth);
    std::optional<std::size_t> parseOperand(int depth);
    std::optional<std::size_t> parseComparison();

    bool parseField(Restriction::Field& field);
    bool parseOperator(Restriction::Operator& op);
    bool parseQuoted(device::WideString& value);
    bool parseBareWord(device::WideString& word);
    bool parseFlag(bool& flag);

    void skipBlanks();
    bool atEnd();
    bool takeKeyword(std::u16string_view keyword);
    bool take(device::WChar c);
    std::optional<std::size_t> error(const char* reason);
    std::size_t add(Restriction::Node node);

    device::WideView m_text;
    std::size_t m_position = 0;
    std::size_t m_comparisons = 0;
    std::vector<Restriction::Node> m_nodes;
    std::string m_reason;
};

} // namespace pim
