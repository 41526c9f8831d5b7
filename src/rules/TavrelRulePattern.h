#pragma once
// CTavrelRulePattern: the parsed, ready-to-compare form of one icon rule's field and pattern.
//
// A rule names the appointment field it tests ("Subject", "Category" or "# Recipients", spelled
// exactly so) and a pattern: an optional comparison operator ("=", "<>", ">", ">=", "<", "<=")
// followed by a value. The reader matches every appointment of every pass against every rule, so
// the rule keeps this parsed form (operator, upper-cased value, wildcards, number) and rebuilds it
// only when its field or pattern changes; matching itself then only compares.

#include "platform/device/WideText.h"

#include <cstdint>

class CTavrelRulePattern {
public:
    enum class Field { Subject, Category, Recipients, Unknown };
    enum class Operator { Equal, NotEqual, Greater, GreaterOrEqual, Less, LessOrEqual, Unknown };
    // How a "Subject" value compares, from its leading and trailing asterisks.
    enum class SubjectTest { Equals, StartsWith, EndsWith, Contains };

    // A pattern of an unknown field: never matches.
    CTavrelRulePattern() = default;
    CTavrelRulePattern(device::WideView field, device::WideView pattern);
    CTavrelRulePattern(const CTavrelRulePattern&) = default;
    CTavrelRulePattern(CTavrelRulePattern&&) noexcept = default;
    CTavrelRulePattern& operator=(const CTavrelRulePattern&) = default;
    CTavrelRulePattern& operator=(CTavrelRulePattern&&) noexcept = default;
    virtual ~CTavrelRulePattern() = default;

    // What matching looks at, prepared once for all rules: the subject and the category list in
    // upper case (ASCII letters only, as UpperCase() makes them), each with the set of characters
    // it holds (CharacterSet), which lets a rule whose value needs a character the text lacks
    // fail without a search.
    struct Appointment {
        Appointment(device::WideView upperSubject, device::WideView upperCategories, std::int32_t recipientCount)
            : subject(upperSubject), subjectCharacters(CharacterSet(upperSubject)), categories(upperCategories),
              categoryCharacters(CharacterSet(upperCategories)), recipients(recipientCount)
        {
        }
        device::WideView subject;
        std::uint64_t subjectCharacters;
        device::WideView categories;
        std::uint64_t categoryCharacters;
        std::int32_t recipients;
    };

    bool Matches(const Appointment& appointment) const;
    bool Matches(device::WideView upperSubject, device::WideView upperCategories, std::int32_t recipients) const
    {
        return Matches(Appointment(upperSubject, upperCategories, recipients));
    }

    Field GetField() const { return m_field; }
    Operator GetOperator() const { return m_operator; }
    SubjectTest GetSubjectTest() const { return m_subjectTest; }
    // The value, trimmed and upper-cased; for "Subject" without its wildcard asterisks.
    const device::WideString& GetValue() const { return m_value; }
    std::int32_t GetNumber() const { return m_number; }

    // The pattern's operator text (the leading run of "=", "<" and ">"; may be empty) and its
    // value (the rest, without leading and trailing blanks). The rule editor splits the same way.
    static void Split(device::WideView pattern, device::WideView& operatorText, device::WideView& value);
    // "" and "=" are Equal; a run that is none of the six operators is Unknown.
    static Operator ParseOperator(device::WideView operatorText);
    static Field ParseField(device::WideView field);
    // A decimal integer: leading blanks and a sign allowed, reading stops at the first non-digit,
    // no digits reads as 0; values beyond the 32-bit range stop at its ends.
    static std::int32_t ReadInteger(device::WideView text);
    // Upper case of ASCII letters only; other characters stay as they are.
    static void UpperCase(device::WideView text, device::WideString& upper);
    // A 64-bit summary of the characters of a text (one bit for each character's low six bits):
    // when a value's set has a bit that a text's set lacks, the text cannot hold the value.
    static std::uint64_t CharacterSet(device::WideView text)
    {
        std::uint64_t set = 0;
        for (char16_t c : text)
            set |= std::uint64_t(1) << (c & 63);
        return set;
    }

private:
    bool MatchesSubject(const Appointment& appointment) const;
    bool MatchesCategories(const Appointment& appointment) const;
    bool MatchesRecipients(std::int32_t recipients) const;

    Field m_field = Field::Unknown;
    Operator m_operator = Operator::Equal;
    SubjectTest m_subjectTest = SubjectTest::Equals;
    device::WideString m_value;
    // ", " + value + ",": the category test for an item in the middle of the list.
    device::WideString m_middleItem;
    std::uint64_t m_valueCharacters = 0;
    std::int32_t m_number = 0;
};
