#pragma once
// CTavrelRule: one icon rule. It tests one appointment field ("Subject", "Category" or
// "# Recipients") against a pattern and names the icon file an appointment that passes gets.
//
// The three texts are what the rules file stores and the rules dialog edits. Next to them the rule
// keeps its pattern parsed (CTavrelRulePattern), rebuilt by every setter, so that matching an
// appointment never parses or upper-cases a pattern again.

#include "common/QoString.h"
#include "rules/TavrelRulePattern.h"

#include <cstdint>

class CTavrelRule {
public:
    CTavrelRule();
    // A missing (null) argument leaves that field empty.
    explicit CTavrelRule(const char16_t* field, const char16_t* pattern = nullptr, const char16_t* icon = nullptr);
    CTavrelRule(const CTavrelRule& other) = default;
    CTavrelRule(CTavrelRule&& other) noexcept = default;
    CTavrelRule& operator=(const CTavrelRule& other) = default;
    CTavrelRule& operator=(CTavrelRule&& other) noexcept = default;
    virtual ~CTavrelRule();

    const CQoString& GetField() const { return m_field; }
    const CQoString& GetPattern() const { return m_pattern; }
    const CQoString& GetIcon() const { return m_icon; }
    void SetField(const char16_t* field);
    void SetPattern(const char16_t* pattern);
    void SetIcon(const char16_t* icon);
    void Set(const char16_t* field, const char16_t* pattern, const char16_t* icon);

    // Equal when all three texts are equal, letter case included.
    bool operator==(const CTavrelRule& other) const;
    bool operator!=(const CTavrelRule& other) const { return !(*this == other); }

    // The subject and category list in upper case (CTavrelRulePattern::UpperCase).
    bool Matches(device::WideView upperSubject, device::WideView upperCategories, std::int32_t recipients) const
    {
        return m_test.Matches(upperSubject, upperCategories, recipients);
    }
    bool Matches(const CTavrelRulePattern::Appointment& appointment) const { return m_test.Matches(appointment); }
    const CTavrelRulePattern& GetParsedPattern() const { return m_test; }

private:
    void Parse();

    CQoString m_field;
    CQoString m_pattern;
    CQoString m_icon;
    CTavrelRulePattern m_test;
};
