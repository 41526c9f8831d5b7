#include "rules/TavrelRuleOperators.h"

namespace {

using Ops = CTavrelRuleOperators;

constexpr const char16_t* fields[] = {Ops::Subject, Ops::Category, Ops::Recipients};
constexpr const char16_t* subjectOperators[] = {Ops::Equal, Ops::Not, Ops::StartsWith, Ops::EndsWith, Ops::Contains};
constexpr const char16_t* categoryOperators[] = {Ops::Equal, Ops::Not};
constexpr const char16_t* recipientOperators[]
    = {Ops::Equal, Ops::Not, Ops::Greater, Ops::Less, Ops::GreaterOrEqual, Ops::LessOrEqual};
constexpr const char16_t* everyOperator[]
    = {Ops::Equal,   Ops::Not,  Ops::StartsWith,     Ops::EndsWith,   Ops::Contains,
       Ops::Greater, Ops::Less, Ops::GreaterOrEqual, Ops::LessOrEqual};

} // namespace

std::span<const char16_t* const> CTavrelRuleOperators::Fields() { return fields; }

std::span<const char16_t* const> CTavrelRuleOperators::ForField(device::WideView field)
{
    if (field == Subject)
        return subjectOperators;
    if (field == Category)
        return categoryOperators;
    if (field == Recipients)
        return recipientOperators;
    return everyOperator;
}

const char16_t* CTavrelRuleOperators::PreSelected(device::WideView field)
{
    if (field == Subject)
        return Contains;
    if (field == Recipients)
        return Greater;
    return Equal;
}

bool CTavrelRuleOperators::IsKnownField(device::WideView field)
{
    return field == Subject || field == Category || field == Recipients;
}
