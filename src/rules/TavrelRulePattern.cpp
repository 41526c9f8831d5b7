#include "rules/TavrelRulePattern.h"

#include <limits>

namespace {

bool isOperatorCharacter(char16_t c) { return c == u'=' || c == u'<' || c == u'>'; }

bool isBlank(char16_t c) { return c == u' '; }

} // namespace

CTavrelRulePattern::CTavrelRulePattern(device::WideView field, device::WideView pattern)
    : m_field(ParseField(field))
{
    device::WideView operatorText;
    device::WideView value;
    Split(pattern, operatorText, value);
    m_operator = ParseOperator(operatorText);

    switch (m_field) {
    case Field::Subject: {
        // The operator does not count for subjects: the asterisks say how to compare. A value of
        // a single "*" starts and ends with one, so it is "contains nothing": every subject.
        const bool leading = !value.empty() && value.front() == u'*';
        const bool trailing = !value.empty() && value.back() == u'*';
        if (leading && trailing) {
            m_subjectTest = SubjectTest::Contains;
            value = value.size() >= 2 ? value.substr(1, value.size() - 2) : device::WideView();
        } else if (leading) {
            m_subjectTest = SubjectTest::EndsWith;
            value.remove_prefix(1);
        } else if (trailing) {
            m_subjectTest = SubjectTest::StartsWith;
            value.remove_suffix(1);
        } else {
            m_subjectTest = SubjectTest::Equals;
        }
        UpperCase(value, m_value);
        break;
    }
    case Field::Category:
        UpperCase(value, m_value);
        m_middleItem.reserve(m_value.size() + 3);
        m_middleItem.append(u", ").append(m_value).append(u",");
        break;
    case Field::Recipients:
        UpperCase(value, m_value);
        m_number = ReadInteger(value);
        break;
    case Field::Unknown:
        break;
    }
    m_valueCharacters = CharacterSet(m_value);
}

bool CTavrelRulePattern::Matches(const Appointment& appointment) const
{
    switch (m_field) {
    case Field::Subject:
        return MatchesSubject(appointment);
    case Field::Category:
        return MatchesCategories(appointment);
    case Field::Recipients:
        return MatchesRecipients(appointment.recipients);
    case Field::Unknown:
        break;
    }
    return false;
}

bool CTavrelRulePattern::MatchesSubject(const Appointment& appointment) const
{
    // Every subject test needs each character of the value somewhere in the subject.
    if ((m_valueCharacters & ~appointment.subjectCharacters) != 0)
        return false;
    const device::WideView subject = appointment.subject;
    switch (m_subjectTest) {
    case SubjectTest::Equals:
        return subject == m_value;
    case SubjectTest::StartsWith:
        return subject.starts_with(m_value);
    case SubjectTest::EndsWith:
        return subject.ends_with(m_value);
    case SubjectTest::Contains:
        return subject.find(m_value) != device::WideView::npos;
    }
    return false;
}

bool CTavrelRulePattern::MatchesCategories(const Appointment& appointment) const
{
    // Plain prefix and suffix tests on the whole list text, plus the item in the middle: so
    // "MEETING" also matches a list that begins with "MEETINGS".
    if (m_operator != Operator::Equal && m_operator != Operator::NotEqual)
        return false;
    const device::WideView categories = appointment.categories;
    const bool found = (m_valueCharacters & ~appointment.categoryCharacters) == 0 &&
                       (categories.starts_with(m_value) || categories.ends_with(m_value) ||
                        categories.find(m_middleItem) != device::WideView::npos);
    return m_operator == Operator::Equal ? found : !found;
}

bool CTavrelRulePattern::MatchesRecipients(std::int32_t recipients) const
{
    switch (m_operator) {
    case Operator::Equal:
        return recipients == m_number;
    case Operator::NotEqual:
        return recipients != m_number;
    case Operator::Greater:
        return recipients > m_number;
    case Operator::GreaterOrEqual:
        return recipients >= m_number;
    case Operator::Less:
        return recipients < m_number;
    case Operator::LessOrEqual:
        return recipients <= m_number;
    case Operator::Unknown:
        break;
    }
    return false;
}

void CTavrelRulePattern::Split(device::WideView pattern, device::WideView& operatorText, device::WideView& value)
{
    std::size_t run = 0;
    while (run < pattern.size() && isOperatorCharacter(pattern[run]))
        ++run;
    operatorText = pattern.substr(0, run);
    value = pattern.substr(run);
    while (!value.empty() && isBlank(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && isBlank(value.back()))
        value.remove_suffix(1);
}

CTavrelRulePattern::Operator CTavrelRulePattern::ParseOperator(device::WideView operatorText)
{
    if (operatorText.empty() || operatorText == u"=")
        return Operator::Equal;
    if (operatorText == u"<>")
        return Operator::NotEqual;
    if (operatorText == u">")
        return Operator::Greater;
    if (operatorText == u">=")
        return Operator::GreaterOrEqual;
    if (operatorText == u"<")
        return Operator::Less;
    if (operatorText == u"<=")
        return Operator::LessOrEqual;
    return Operator::Unknown;
}

CTavrelRulePattern::Field CTavrelRulePattern::ParseField(device::WideView field)
{
    // Field names are compared with their exact spelling and case.
    if (field == u"Subject")
        return Field::Subject;
    if (field == u"Category")
        return Field::Category;
    if (field == u"# Recipients")
        return Field::Recipients;
    return Field::Unknown;
}

std::int32_t CTavrelRulePattern::ReadInteger(device::WideView text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        negative = text[at] == u'-';
        ++at;
    }
    // Accumulate as a negative number so that the lowest 32-bit value is reachable.
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        value = value * 10 - (text[at] - u'0');
        if (value < lowest) {
            value = lowest - 1; // stays out of range; further digits cannot bring it back
            break;
        }
    }
    if (negative)
        return value < lowest ? std::int32_t(lowest) : std::int32_t(value);
    return -value > highest ? std::int32_t(highest) : std::int32_t(-value);
}

void CTavrelRulePattern::UpperCase(device::WideView text, device::WideString& upper)
{
    upper.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        upper[i] = device::foldUpper(text[i]);
}
