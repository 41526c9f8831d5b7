#include "remote/XmlNode.h"

namespace {

CQoString makeString(device::WideView text)
{
    CQoString result;
    if (text.empty())
        return result;
    char16_t* buffer = result.GetBuffer(unsigned(text.size()));
    std::copy(text.begin(), text.end(), buffer);
    result.ReleaseBuffer(int(text.size()));
    return result;
}

} // namespace

CXmlNode::CXmlNode(device::WideView name, CXmlNode* parent) : m_name(name), m_parent(parent) {}

CXmlNode::~CXmlNode() = default;

CQoString CXmlNode::GetName() const
{
    return makeString(m_name);
}

CXmlNode* CXmlNode::GetChild(std::size_t index) const
{
    CXmlNode* child = m_firstChild;
    for (; child && index > 0; --index)
        child = child->m_nextSibling;
    return child;
}

CXmlNode* CXmlNode::GetFirstChild()
{
    m_cursor = m_firstChild;
    return GetNextChild();
}

CXmlNode* CXmlNode::GetNextChild()
{
    CXmlNode* child = m_cursor;
    if (child)
        m_cursor = child->m_nextSibling;
    return child;
}

CXmlNode* CXmlNode::FindChild(device::WideView name) const
{
    for (CXmlNode* child = m_firstChild; child; child = child->m_nextSibling) {
        if (device::equalsNoCase(child->m_name, name))
            return child;
    }
    return nullptr;
}

CXmlNode* CXmlNode::FindChild(const char16_t* name) const
{
    return FindChild(device::WideView(name ? name : u""));
}

CXmlNode* CXmlNode::FindPath(const char16_t* path) const
{
    const device::WideView text(path ? path : u"");
    const CXmlNode* node = this;
    std::size_t start = 0;
    while (node) {
        const std::size_t dot = text.find(u'.', start);
        const std::size_t end = dot == device::WideView::npos ? text.size() : dot;
        node = node->FindChild(text.substr(start, end - start));
        if (dot == device::WideView::npos)
            break;
        start = dot + 1;
    }
    return const_cast<CXmlNode*>(node);
}

CQoString CXmlNode::GetText(const char16_t* path) const
{
    if (!path)
        return makeString(m_text);
    const CXmlNode* node = FindPath(path);
    return node ? makeString(node->m_text) : CQoString();
}

device::WideView CXmlNode::GetChildTextView(device::WideView name) const
{
    const CXmlNode* child = FindChild(name);
    return child ? child->m_text : device::WideView();
}

void CXmlNode::AppendChild(CXmlNode* child)
{
    if (m_lastChild)
        m_lastChild->m_nextSibling = child;
    else
        m_firstChild = child;
    m_lastChild = child;
    ++m_childCount;
}
