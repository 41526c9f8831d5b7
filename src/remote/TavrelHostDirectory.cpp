#include "remote/TavrelHostDirectory.h"

#include "remote/XmlDocument.h"

CTavrelHostDirectory::CTavrelHostDirectory(const CXmlDocument& document)
{
    CXmlNode* node = document.GetRoot();
    if (!node)
        return;
    if (device::equalsNoCase(node->GetNameView(), u"XML")) {
        if (CXmlNode* redirect = node->FindChild(u"Redirect"))
            node = redirect;
        else if (CXmlNode* message = node->FindChild(u"Message"))
            node = message;
    }
    if (device::equalsNoCase(node->GetNameView(), u"Redirect")) {
        m_kind = Kind::Redirect;
        m_text = node->GetText();
        return;
    }
    if (device::equalsNoCase(node->GetNameView(), u"Message")) {
        m_kind = Kind::Message;
        m_text = node->GetText();
        return;
    }
    if (node->GetChildCount() == 0) {
        m_kind = Kind::Empty;
        return;
    }
    m_kind = Kind::Links;
    for (const CXmlNode* child = node->GetFirstChild(); child; child = node->GetNextChild()) {
        if (!device::equalsNoCase(child->GetNameView(), u"LINK"))
            continue;
        Link link{child->GetText(u"Name"), child->GetText(u"URL")};
        if (!link.name.IsEmpty() && !link.address.IsEmpty())
            m_links.push_back(std::move(link));
    }
}
