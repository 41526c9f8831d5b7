#include "platform/pim/Restriction.h"

#include <algorithm>

namespace pim {

namespace {

using device::WideView;
using Operator = Restriction::Operator;

template <typename T>
bool compare(const T& a, const T& b, Operator op)
{
    switch (op) {
    case Operator::Equal: return a == b;
    case Operator::NotEqual: return !(a == b);
    case Operator::Less: return a < b;
    case Operator::LessOrEqual: return !(b < a);
    case Operator::Greater: return b < a;
    case Operator::GreaterOrEqual: return !(a < b);
    }
    return false;
}

bool compareText(WideView value, WideView wanted, Operator op)
{
    return compare(device::compareNoCase(value, wanted), 0, op);
}

bool isBlank(device::WChar c) { return c == u' ' || c == u'\t'; }

WideView trimmed(WideView text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Categories are a list: "= Holiday" holds for "Business, Holiday" as it does for "Holiday".
bool hasCategory(WideView categories, WideView wanted)
{
    wanted = trimmed(wanted);
    if (device::equalsNoCase(trimmed(categories), wanted))
        return true;
    while (true) {
        const std::size_t comma = categories.find(u',');
        if (device::equalsNoCase(trimmed(categories.substr(0, comma)), wanted))
            return true;
        if (comma == WideView::npos)
            return false;
        categories.remove_prefix(comma + 1);
    }
}

} // namespace

Restriction::Restriction() : m_nodes(1) {}

Restriction::Restriction(std::vector<Node> nodes) : m_nodes(std::move(nodes))
{
    if (m_nodes.empty())
        m_nodes.emplace_back();
}

bool Restriction::matches(const AppointmentRecord& record, Milliseconds start, Milliseconds end) const
{
    return matches(m_nodes.size() - 1, record, start, end);
}

bool Restriction::matches(std::size_t index, const AppointmentRecord& record, Milliseconds start,
                          Milliseconds end) const
{
    const Node& node = m_nodes[index];
    switch (node.kind) {
    case Node::Kind::Everything: return true;
    case Node::Kind::And:
        return std::all_of(node.operands.begin(), node.operands.end(),
                           [&](std::size_t operand) { return matches(operand, record, start, end); });
    case Node::Kind::Or:
        return std::any_of(node.operands.begin(), node.operands.end(),
                           [&](std::size_t operand) { return matches(operand, record, start, end); });
    case Node::Kind::Comparison: break;
    }
    switch (node.field) {
    case Field::Start: return compare(start, node.instant, node.op);
    case Field::End: return compare(end, node.instant, node.op);
    case Field::Subject: return compareText(record.subject, node.text, node.op);
    case Field::Location: return compareText(record.location, node.text, node.op);
    case Field::Categories:
        if (node.op == Operator::Equal)
            return hasCategory(record.categories, node.text);
        if (node.op == Operator::NotEqual)
            return !hasCategory(record.categories, node.text);
        return compareText(record.categories, node.text, node.op);
    case Field::AllDayEvent: return compare(record.allDay, node.flag, node.op);
    case Field::IsRecurring: return compare(record.recurrence.has_value(), node.flag, node.op);
    }
    return false;
}

Restriction::Window Restriction::window() const
{
    Window result = window(m_nodes.size() - 1);
    result.from = std::max(result.from, TimeLine::earliest());
    result.to = std::min(result.to, TimeLine::latest());
    return result;
}

Restriction::Window Restriction::window(std::size_t index) const
{
    const Window everything {TimeLine::earliest(), TimeLine::latest()};
    const Node& node = m_nodes[index];
    switch (node.kind) {
    case Node::Kind::Everything: return everything;
    case Node::Kind::And: {
        Window result = everything;
        for (std::size_t operand : node.operands) {
            const Window part = window(operand);
            result.from = std::max(result.from, part.from);
            result.to = std::min(result.to, part.to);
        }
        return result;
    }
    case Node::Kind::Or: {
        // The hull of the parts; parts that can match nothing do not widen it.
        Window result {TimeLine::latest(), TimeLine::earliest()};
        for (std::size_t operand : node.operands) {
            const Window part = window(operand);
            if (part.isEmpty())
                continue;
            result.from = std::min(result.from, part.from);
            result.to = std::max(result.to, part.to);
        }
        return result;
    }
    case Node::Kind::Comparison: break;
    }
    if (node.field != Field::Start && node.field != Field::End)
        return everything;
    // start <= end for every item, so a lower bound on the start bounds the end from below too,
    // and an upper bound on the end bounds the start from above: either way the bound applies to
    // the window.
    Window result = everything;
    if (node.op == Operator::Equal || node.op == Operator::Greater || node.op == Operator::GreaterOrEqual)
        result.from = node.instant;
    if (node.op == Operator::Equal || node.op == Operator::Less || node.op == Operator::LessOrEqual)
        result.to = node.instant;
    return result;
}

} // namespace pim
