#include "rules/TavrelRuleTerms.h"

#include "rules/TavrelRule.h"
#include "rules/TavrelRuleOperators.h"
#include "rules/TavrelRulePattern.h"

namespace {

using Ops = CTavrelRuleOperators;

CQoString textOf(device::WideView view) { return CQoString(device::WideString(view).c_str()); }

// The operator characters a pattern built for this operator word begins with.
device::WideView operatorTextOf(device::WideView word)
{
    if (word == Ops::Not)
        return u"<>";
    if (word == Ops::Greater || word == Ops::Less || word == Ops::GreaterOrEqual || word == Ops::LessOrEqual)
        return word;
    return {};
}

} // namespace

CTavrelRuleTerms::CTavrelRuleTerms(const char16_t* field, const char16_t* operatorWord, const char16_t* text)
    : m_field(field), m_operator(operatorWord), m_text(text)
{
}

CTavrelRuleTerms CTavrelRuleTerms::FromRule(const CTavrelRule& rule)
{
    return FromPattern(rule.GetField().GetString(), rule.GetPattern().View());
}

CTavrelRuleTerms CTavrelRuleTerms::FromPattern(const char16_t* field, device::WideView pattern)
{
    device::WideView operatorText;
    device::WideView text;
    CTavrelRulePattern::Split(pattern, operatorText, text);

    CQoString operatorWord;
    if (operatorText.empty())
        operatorWord = Ops::Equal;
    else if (operatorText == u"<>")
        operatorWord = Ops::Not;
    else
        operatorWord = textOf(operatorText);

    const bool leading = !text.empty() && text.front() == u'*';
    if (leading)
        text.remove_prefix(1);
    const bool trailing = !text.empty() && text.back() == u'*';
    if (trailing)
        text.remove_suffix(1);
    if (leading && trailing)
        operatorWord = Ops::Contains;
    else if (leading)
        operatorWord = Ops::EndsWith;
    else if (trailing)
        operatorWord = Ops::StartsWith;

    CTavrelRuleTerms terms;
    terms.m_field = field;
    terms.m_operator = operatorWord;
    terms.m_text = textOf(text);
    return terms;
}

CQoString CTavrelRuleTerms::BuildPattern() const
{
    // Operator words compare exactly: "Not" and "not" are not the same word of the list.
    const device::WideView word = m_operator.View();
    device::WideString pattern;
    if (word == Ops::Not) {
        pattern = u"<>";
        pattern += m_text.View();
    } else if (word == Ops::StartsWith) {
        pattern = m_text.View();
        pattern += u'*';
    } else if (word == Ops::EndsWith) {
        pattern = u"*";
        pattern += m_text.View();
    } else if (word == Ops::Contains) {
        pattern = u"*";
        pattern += m_text.View();
        pattern += u'*';
    } else if (!operatorTextOf(word).empty()) {
        pattern = word;
        pattern += m_text.View();
    } else {
        pattern = m_text.View();
    }
    return CQoString(pattern.c_str());
}

bool CTavrelRuleTerms::TextStaysText() const
{
    const CQoString pattern = BuildPattern();
    device::WideView operatorText;
    device::WideView value;
    CTavrelRulePattern::Split(pattern.View(), operatorText, value);
    return operatorText == operatorTextOf(m_operator.View());
}

CQoString CTavrelRuleTerms::ListLine(const CTavrelRule& rule)
{
    const CTavrelRuleTerms terms = FromRule(rule);
    const bool notEqual = rule.GetPattern().View().starts_with(u"<>");
    // Put together rather than formatted: a rule's texts may be longer than a formatted line.
    device::WideString line = u"[";
    line += terms.m_field.View();
    line += u"] ";
    line += notEqual ? device::WideView(u"<>") : terms.m_operator.View();
    line += u" \"";
    line += terms.m_text.View();
    line += u'"';
    return CQoString(line.c_str());
}
