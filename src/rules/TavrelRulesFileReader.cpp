#include "rules/TavrelRulesFileReader.h"

namespace {

constexpr char16_t CarriageReturn = 13;
constexpr char16_t LineFeed = 10;
constexpr char16_t ByteOrderMark = 0xFEFF;
constexpr char16_t SwappedByteOrderMark = 0xFFFE;

} // namespace

void CTavrelRulesFileReader::Feed(const std::uint8_t* bytes, std::size_t size)
{
    std::size_t at = 0;
    if (m_hasPendingByte && size > 0) {
        TakeCharacter(char16_t(m_pendingByte | (bytes[0] << 8)));
        m_hasPendingByte = false;
        at = 1;
    }
    for (; at + 1 < size; at += 2)
        TakeCharacter(char16_t(bytes[at] | (bytes[at + 1] << 8)));
    if (at < size) {
        m_pendingByte = bytes[at];
        m_hasPendingByte = true;
    }
}

void CTavrelRulesFileReader::TakeCharacter(char16_t c)
{
    switch (c) {
    case CarriageReturn:
        EndLine();
        return;
    case LineFeed:
    case ByteOrderMark:
    case SwappedByteOrderMark:
        return;
    case 0:
        m_zeroCharacter = true;
        break;
    default:
        break;
    }
    if (m_lineTooLong)
        return;
    if (m_line.size() >= MaxLineLength) {
        m_lineTooLong = true;
        m_line.clear();
        return;
    }
    m_line.push_back(c);
}

void CTavrelRulesFileReader::EndLine()
{
    if (m_lineTooLong) {
        ++m_droppedLines;
    } else if (m_line.find(u',') != device::WideString::npos) {
        if (m_rules.size() < MaxRules) {
            CTavrelRule rule;
            ParseLine(m_line, rule);
            m_rules.push_back(std::move(rule));
        } else {
            ++m_droppedLines;
        }
    } else if (!m_line.empty()) {
        ++m_linesWithoutComma;
    }
    m_line.clear();
    m_lineTooLong = false;
}

bool CTavrelRulesFileReader::IsWellFormed() const
{
    return !m_hasPendingByte && m_line.empty() && !m_lineTooLong && m_droppedLines == 0 && m_linesWithoutComma == 0
        && !m_zeroCharacter;
}

bool CTavrelRulesFileReader::ParseLine(device::WideView line, CTavrelRule& rule)
{
    const std::size_t first = line.find(u',');
    if (first == device::WideView::npos)
        return false;
    // The texts become CQoStrings, which end at a zero character like every text of the device.
    const std::size_t second = line.find(u',', first + 1);
    if (second == device::WideView::npos) {
        rule.Set(u"Subject", device::WideString(line.substr(0, first)).c_str(),
                 device::WideString(line.substr(first + 1)).c_str());
        return true;
    }
    rule.Set(device::WideString(line.substr(0, first)).c_str(),
             device::WideString(line.substr(first + 1, second - first - 1)).c_str(),
             device::WideString(line.substr(second + 1)).c_str());
    return true;
}
