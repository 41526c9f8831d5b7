#include "protocol/TavrelControlMessage.h"

CTavrelControlMessage::CTavrelControlMessage(const CQoString& text) : m_text(text)
{
    const int colon = m_text.Find(u':');
    if (colon < 0) {
        m_name = m_text;
        return;
    }
    m_name = m_text.Left(colon);
    SplitArguments(m_text.Mid(colon + 1));
}

CQoString CTavrelControlMessage::Compose(const char16_t* name, const std::vector<CQoString>& arguments)
{
    CQoString text(name);
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        text.AppendChar(i == 0 ? u':' : u';');
        text.Append(CQoString::Quote(arguments[i]).GetString());
    }
    return text;
}

CQoString CTavrelControlMessage::GetArgument(int index) const
{
    if (index < 0 || index >= GetArgumentCount())
        return CQoString(u"");
    return m_arguments[std::size_t(index)];
}

void CTavrelControlMessage::SplitArguments(const CQoString& rest)
{
    if (rest.IsEmpty())
        return;
    if (rest.Find(u'"') < 0) {
        m_arguments.push_back(rest);
        return;
    }
    const device::WideView text = rest.View();
    bool inside = false;
    std::size_t start = 0;
    auto piece = [&](std::size_t end) {
        CQoString value(std::u16string(text.substr(start, end - start)).c_str());
        if (inside) {
            value.Replace(u"%22", u"\"");
            m_arguments.push_back(value);
        } else if (!value.IsEmpty() && value != u";") {
            m_arguments.push_back(value);
        }
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != u'"')
            continue;
        piece(at);
        inside = !inside;
        start = at + 1;
    }
    // The text after the last quote: the rest of an unterminated quoted value, or what follows
    // the last quoted value. A quote that opens at the very end opens nothing.
    if (start < text.size())
        piece(text.size());
}
