#include "rules/TavrelRule.h"

CTavrelRule::CTavrelRule() { Parse(); }

CTavrelRule::CTavrelRule(const char16_t* field, const char16_t* pattern, const char16_t* icon)
    : m_field(field), m_pattern(pattern), m_icon(icon)
{
    Parse();
}

CTavrelRule::~CTavrelRule() = default;

void CTavrelRule::SetField(const char16_t* field)
{
    m_field = field;
    Parse();
}

void CTavrelRule::SetPattern(const char16_t* pattern)
{
    m_pattern = pattern;
    Parse();
}

void CTavrelRule::SetIcon(const char16_t* icon) { m_icon = icon; }

void CTavrelRule::Set(const char16_t* field, const char16_t* pattern, const char16_t* icon)
{
    m_field = field;
    m_pattern = pattern;
    m_icon = icon;
    Parse();
}

bool CTavrelRule::operator==(const CTavrelRule& other) const
{
    // CQoString's own == ignores case; rules compare exactly.
    return m_field.View() == other.m_field.View() && m_pattern.View() == other.m_pattern.View() &&
           m_icon.View() == other.m_icon.View();
}

void CTavrelRule::Parse() { m_test = CTavrelRulePattern(m_field.View(), m_pattern.View()); }
