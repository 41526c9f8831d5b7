#include "remote/XmlDocument.h"

#include "remote/XmlReader.h"

CXmlDocument::CXmlDocument() : m_errorText(u"No Error Information") {}

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::Parse(const CQoString& text)
{
    m_root = nullptr;
    m_nodes = std::make_unique<CXmlNodeStore>();
    m_text = text;
    device::WideView view = m_text.View();
    if (const std::size_t end = view.find(u'\0'); end != device::WideView::npos)
        view = view.substr(0, end);
    if (view.size() > MaxTextLength) {
        m_errorText.Format(u"The document is longer than %u characters", unsigned(MaxTextLength));
        return false;
    }
    const std::size_t first = view.find(u'<');
    if (first == device::WideView::npos)
        return false;
    CXmlReader reader(view.substr(first), *m_nodes);
    switch (reader.Read(m_root)) {
    case CXmlReader::Outcome::Read:
        return true;
    case CXmlReader::Outcome::NoTags:
        return false;
    case CXmlReader::Outcome::TooDeep:
        m_errorText.Format(u"The document nests elements more than %d levels deep", CXmlReader::MaxDepth);
        return false;
    }
    return false;
}
