#include "remote/XmlNode.h"

#include "platform/device/WideText.h"

CXmlNode::CXmlNode(const CQoString& name, CXmlNode* parent) : m_name(name), m_parent(parent) {}

CXmlNode::~CXmlNode() = default;

CXmlNode* CXmlNode::GetChild(std::size_t index) const
{
    return index < m_children.size() ? m_children[index].get() : nullptr;
}

CXmlNode* CXmlNode::GetFirstChild()
{
    m_cursor = 0;
    return GetNextChild();
}

CXmlNode* CXmlNode::GetNextChild()
{
    if (m_cursor >= m_children.size())
        return nullptr;
    return m_children[m_cursor++].get();
}

CXmlNode* CXmlNode::FindChild(device::WideView name) const
{
    for (const auto& child : m_children) {
        if (device::equalsNoCase(child->GetName().View(), name))
            return child.get();
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
        return m_text;
    const CXmlNode* node = FindPath(path);
    return node ? node->m_text : CQoString();
}

void CXmlNode::AppendChild(std::unique_ptr<CXmlNode> child)
{
    m_children.push_back(std::move(child));
}
