#pragma once
// CTavrelRuleOperators: the operator words Rule Details offers for each field, in list order, and
// the one it selects when the field is chosen.
//
//   "Subject"       "=", "Not", "Starts with", "Ends with", "Contains"   pre-selected "Contains"
//   "Category"      "=", "Not"                                            pre-selected "="
//   "# Recipients"  "=", "Not", ">", "<", ">=", "<="                      pre-selected ">"
//
// A field name the program does not know (a hand-edited rules file may hold one; such a rule never
// matches) is offered every operator with "=" selected, so that editing only its icon keeps its
// pattern as it is.

#include "platform/device/WideText.h"

#include <span>

class CTavrelRuleOperators {
public:
    static constexpr const char16_t* Subject = u"Subject";
    static constexpr const char16_t* Category = u"Category";
    static constexpr const char16_t* Recipients = u"# Recipients";

    // The operator words.
    static constexpr const char16_t* Equal = u"=";
    static constexpr const char16_t* Not = u"Not";
    static constexpr const char16_t* StartsWith = u"Starts with";
    static constexpr const char16_t* EndsWith = u"Ends with";
    static constexpr const char16_t* Contains = u"Contains";
    static constexpr const char16_t* Greater = u">";
    static constexpr const char16_t* Less = u"<";
    static constexpr const char16_t* GreaterOrEqual = u">=";
    static constexpr const char16_t* LessOrEqual = u"<=";

    // The three fields in the order the field list shows them.
    static std::span<const char16_t* const> Fields();
    // Field names compare exactly, letter case included, as matching compares them.
    static std::span<const char16_t* const> ForField(device::WideView field);
    static const char16_t* PreSelected(device::WideView field);
    static bool IsKnownField(device::WideView field);
};
