#pragma once
// CTavrelRuleTerms: a rule's test as a person reads and edits it — field, operator word and text —
// and the turning of those terms into a rule pattern and back.
//
// Terms to pattern, by operator word: "=" gives the text, "Not" "<>" and the text, "Starts with"
// the text and "*", "Ends with" "*" and the text, "Contains" "*", the text and "*"; ">", "<", ">="
// and "<=" the operator and the text.
//
// Pattern to terms: the leading run of "=", "<" and ">" is the operator ("=" when there is none,
// "Not" for "<>"), the rest without its blanks is the text; then a leading and/or a trailing "*"
// comes off the text and the operator becomes "Contains" (both), "Ends with" (leading only) or
// "Starts with" (trailing only).
//
// The Rules list shows each rule as `[field] operator "text"` from those terms, except that a
// pattern beginning with "<>" shows its operator as "<>".

#include "common/QoString.h"

class CTavrelRule;

class CTavrelRuleTerms {
public:
    CTavrelRuleTerms() = default;
    CTavrelRuleTerms(const char16_t* field, const char16_t* operatorWord, const char16_t* text);
    virtual ~CTavrelRuleTerms() = default;

    static CTavrelRuleTerms FromRule(const CTavrelRule& rule);
    static CTavrelRuleTerms FromPattern(const char16_t* field, device::WideView pattern);

    const CQoString& GetField() const { return m_field; }
    const CQoString& GetOperator() const { return m_operator; }
    const CQoString& GetText() const { return m_text; }

    CQoString BuildPattern() const;
    // Whether the pattern built from these terms reads back with their operator: a text that begins
    // with "=", "<" or ">" where the pattern's operator ends would be read as part of the operator
    // (">5" under "=" would test "greater than 5", and a subject would lose the ">").
    bool TextStaysText() const;

    // The rule's line in the Rules list: [Subject] Starts with "Lunch".
    static CQoString ListLine(const CTavrelRule& rule);

private:
    CQoString m_field;
    CQoString m_operator;
    CQoString m_text;
};
