#include "rules/TavrelRulesFileWriter.h"

#include "rules/TavrelRulesFileReader.h"

namespace {

bool holdsLineBreak(device::WideView text) { return text.find_first_of(u"\r\n") != device::WideView::npos; }

// Characters the reader drops wherever they stand.
bool holdsDroppedCharacter(device::WideView text)
{
    for (char16_t c : text) {
        if (c == 0 || c == 0xFEFF || c == 0xFFFE)
            return true;
    }
    return false;
}

void appendText(device::WideView text, std::vector<std::uint8_t>& bytes)
{
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c & 0xFF));
        bytes.push_back(std::uint8_t(c >> 8));
    }
}

} // namespace

CTavrelRulesFileWriter::Problem CTavrelRulesFileWriter::FindProblem(const CTavrelRule& rule)
{
    const device::WideView field = rule.GetField().View();
    const device::WideView pattern = rule.GetPattern().View();
    const device::WideView icon = rule.GetIcon().View();
    if (holdsLineBreak(field) || holdsLineBreak(pattern) || holdsLineBreak(icon))
        return Problem::LineBreak;
    if (field.find(u',') != device::WideView::npos || pattern.find(u',') != device::WideView::npos)
        return Problem::Comma;
    if (holdsDroppedCharacter(field) || holdsDroppedCharacter(pattern) || holdsDroppedCharacter(icon))
        return Problem::Unreadable;
    if (field.size() + pattern.size() + icon.size() > MaxTextLength)
        return Problem::TooLong;
    return Problem::None;
}

void CTavrelRulesFileWriter::AppendLine(const CTavrelRule& rule, std::vector<std::uint8_t>& bytes)
{
    appendText(rule.GetField().View(), bytes);
    appendText(u",", bytes);
    appendText(rule.GetPattern().View(), bytes);
    appendText(u",", bytes);
    appendText(rule.GetIcon().View(), bytes);
    appendText(u"\r\n", bytes);
}
