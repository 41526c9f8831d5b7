#include "rules/TavrelRulesFileWriter.h"

#include "rules/TavrelRulesFileReader.h"

namespace {

// Characters the reader drops or ends a line at.
bool holdsUnstorableCharacter(device::WideView text)
{
    for (char16_t c : text) {
        if (c == 0 || c == 10 || c == 13 || c == 0xFEFF || c == 0xFFFE)
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

bool CTavrelRulesFileWriter::CanStore(const CTavrelRule& rule)
{
    const device::WideView field = rule.GetField().View();
    const device::WideView pattern = rule.GetPattern().View();
    const device::WideView icon = rule.GetIcon().View();
    if (field.find(u',') != device::WideView::npos || pattern.find(u',') != device::WideView::npos)
        return false;
    if (holdsUnstorableCharacter(field) || holdsUnstorableCharacter(pattern) || holdsUnstorableCharacter(icon))
        return false;
    return field.size() + pattern.size() + icon.size() + 2 <= CTavrelRulesFileReader::MaxLineLength;
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
