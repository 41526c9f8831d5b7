#include "platform/pim/RestrictionParser.h"

#include "platform/device/DateParser.h"

namespace pim {

namespace {

using device::WChar;
using device::WideString;
using device::WideView;
using Field = Restriction::Field;
using Node = Restriction::Node;
using Operator = Restriction::Operator;

struct FieldName {
    std::u16string_view name;
    Field field;
};

constexpr FieldName kFields[] = {
    {u"Start", Field::Start},
    {u"End", Field::End},
    {u"Subject", Field::Subject},
    {u"Location", Field::Location},
    {u"Categories", Field::Categories},
    {u"AllDayEvent", Field::AllDayEvent},
    {u"IsRecurring", Field::IsRecurring},
};

bool isBlank(WChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool isWordCharacter(WChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'+';
}

} // namespace

std::optional<Restriction> RestrictionParser::parse(WideView text, std::string* reason)
{
    if (text.size() > kMaxLength) {
        if (reason)
            *reason = "the restriction is too long";
        return std::nullopt;
    }
    RestrictionParser parser(text);
    if (parser.atEnd())
        return Restriction();
    std::optional<std::size_t> root = parser.parseOr(0);
    if (root && !parser.atEnd())
        root = parser.error("unexpected text after the end of the restriction");
    if (!root) {
        if (reason)
            *reason = parser.m_reason;
        return std::nullopt;
    }
    return Restriction(std::move(parser.m_nodes));
}

std::optional<std::size_t> RestrictionParser::parseOr(int depth)
{
    std::optional<std::size_t> first = parseAnd(depth);
    if (!first)
        return std::nullopt;
    if (!takeKeyword(u"OR"))
        return first;
    Node node;
    node.kind = Node::Kind::Or;
    node.operands.push_back(*first);
    do {
        std::optional<std::size_t> next = parseAnd(depth);
        if (!next)
            return std::nullopt;
        node.operands.push_back(*next);
    } while (takeKeyword(u"OR"));
    return add(std::move(node));
}

std::optional<std::size_t> RestrictionParser::parseAnd(int depth)
{
    std::optional<std::size_t> first = parseOperand(depth);
    if (!first)
        return std::nullopt;
    if (!takeKeyword(u"AND"))
        return first;
    Node node;
    node.kind = Node::Kind::And;
    node.operands.push_back(*first);
    do {
        std::optional<std::size_t> next = parseOperand(depth);
        if (!next)
            return std::nullopt;
        node.operands.push_back(*next);
    } while (takeKeyword(u"AND"));
    return add(std::move(node));
}

std::optional<std::size_t> RestrictionParser::parseOperand(int depth)
{
    if (!take(u'('))
        return parseComparison();
    if (depth >= kMaxDepth)
        return error("the restriction nests parentheses too deeply");
    std::optional<std::size_t> inner = parseOr(depth + 1);
    if (!inner)
        return std::nullopt;
    if (!take(u')'))
        return error("a parenthesis is not closed");
    return inner;
}

std::optional<std::size_t> RestrictionParser::parseComparison()
{
    if (++m_comparisons > kMaxComparisons)
        return error("the restriction has too many comparisons");
    Node node;
    node.kind = Node::Kind::Comparison;
    if (!parseField(node.field))
        return std::nullopt;
    if (!parseOperator(node.op))
        return error("a comparison operator (=, <>, <, <=, >, >=) is expected after the field");

    switch (node.field) {
    case Field::Start:
    case Field::End: {
        WideString text;
        if (!parseQuoted(text))
            return error("a date in quotes is expected");
        double date = 0;
        if (device::varDateFromStr(text, 0, date) != device::DateError::None)
            return error("the date is not one the device locale reads");
        std::optional<Milliseconds> instant = TimeLine::fromAutomationDate(date);
        if (!instant)
            return error("the date is out of range");
        node.instant = *instant;
        break;
    }
    case Field::Subject:
    case Field::Location:
    case Field::Categories:
        if (!parseQuoted(node.text))
            return error("a text in quotes is expected");
        break;
    case Field::AllDayEvent:
    case Field::IsRecurring:
        if (node.op != Operator::Equal && node.op != Operator::NotEqual)
            return error("True and False compare only with = and <>");
        if (!parseFlag(node.flag))
            return error("True or False is expected");
        break;
    }
    return add(std::move(node));
}

bool RestrictionParser::parseField(Field& field)
{
    skipBlanks();
    if (m_position >= m_text.size() || m_text[m_position] != u'[') {
        error("a field name in brackets is expected");
        return false;
    }
    const std::size_t close = m_text.find(u']', m_position + 1);
    if (close == WideView::npos) {
        error("a field name is not closed by ]");
        return false;
    }
    const WideView name = m_text.substr(m_position + 1, close - m_position - 1);
    for (const FieldName& known : kFields) {
        if (device::equalsNoCase(name, known.name)) {
            field = known.field;
            m_position = close + 1;
            return true;
        }
    }
    error("the field is not one the store can search");
    return false;
}

bool RestrictionParser::parseOperator(Operator& op)
{
    skipBlanks();
    const WideView rest = m_text.substr(m_position);
    struct Spelling {
        std::u16string_view text;
        Operator op;
    };
    // Two-character operators first, so that "<=" is not read as "<".
    static constexpr Spelling spellings[] = {
        {u"<>", Operator::NotEqual}, {u"<=", Operator::LessOrEqual}, {u">=", Operator::GreaterOrEqual},
        {u"=", Operator::Equal},     {u"<", Operator::Less},         {u">", Operator::Greater},
    };
    for (const Spelling& spelling : spellings) {
        if (rest.starts_with(spelling.text)) {
            op = spelling.op;
            m_position += spelling.text.size();
            return true;
        }
    }
    return false;
}

bool RestrictionParser::parseQuoted(WideString& value)
{
    skipBlanks();
    if (m_position >= m_text.size())
        return false;
    const WChar quote = m_text[m_position];
    if (quote != u'"' && quote != u'\'')
        return false;
    value.clear();
    for (std::size_t i = m_position + 1; i < m_text.size(); ++i) {
        if (m_text[i] != quote) {
            value += m_text[i];
            continue;
        }
        if (i + 1 < m_text.size() && m_text[i + 1] == quote) {
            value += quote;
            ++i;
            continue;
        }
        m_position = i + 1;
        return true;
    }
    return false; // the quote is never closed
}

bool RestrictionParser::parseBareWord(WideString& word)
{
    skipBlanks();
    const std::size_t begin = m_position;
    std::size_t end = begin;
    while (end < m_text.size() && isWordCharacter(m_text[end]))
        ++end;
    if (end == begin)
        return false;
    word.assign(m_text.substr(begin, end - begin));
    m_position = end;
    return true;
}

bool RestrictionParser::parseFlag(bool& flag)
{
    WideString word;
    if (!parseQuoted(word) && !parseBareWord(word))
        return false;
    if (device::equalsNoCase(word, u"True") || word == u"1" || word == u"-1") {
        flag = true;
        return true;
    }
    if (device::equalsNoCase(word, u"False") || word == u"0") {
        flag = false;
        return true;
    }
    return false;
}

void RestrictionParser::skipBlanks()
{
    while (m_position < m_text.size() && isBlank(m_text[m_position]))
        ++m_position;
}

bool RestrictionParser::atEnd()
{
    skipBlanks();
    return m_position >= m_text.size();
}

bool RestrictionParser::takeKeyword(std::u16string_view keyword)
{
    skipBlanks();
    const WideView rest = m_text.substr(m_position);
    if (rest.size() < keyword.size() || !device::equalsNoCase(rest.substr(0, keyword.size()), keyword))
        return false;
    // A keyword ends where the word ends: "ORDER" is no OR.
    if (rest.size() > keyword.size() && isWordCharacter(rest[keyword.size()]))
        return false;
    m_position += keyword.size();
    return true;
}

bool RestrictionParser::take(WChar c)
{
    skipBlanks();
    if (m_position < m_text.size() && m_text[m_position] == c) {
        ++m_position;
        return true;
    }
    return false;
}

std::optional<std::size_t> RestrictionParser::error(const char* reason)
{
    if (m_reason.empty())
        m_reason = reason;
    return std::nullopt;
}

std::size_t RestrictionParser::add(Node node)
{
    m_nodes.push_back(std::move(node));
    return m_nodes.size() - 1;
}

} // namespace pim
