#include "remote/XmlReader.h"

namespace {

// An element's text, gathered from the pieces between its children: the leading blanks and
// control characters left out, and the trailing control characters. Most elements have one piece
// or none, and their text stays a view of the document.
class ElementText {
public:
    explicit ElementText(std::deque<std::u16string>& joined) : m_joined(joined) {}

    void Add(device::WideView piece)
    {
        if (m_text.empty()) {
            std::size_t lead = 0;
            while (lead < piece.size() && piece[lead] <= 0x20)
                ++lead;
            m_text = piece.substr(lead);
            return;
        }
        if (piece.empty())
            return;
        if (!m_buffer) {
            m_buffer = &m_joined.emplace_back(m_text);
        }
        m_buffer->append(piece);
        m_text = *m_buffer;
    }

    device::WideView Finish()
    {
        while (!m_text.empty() && m_text.back() < 0x20)
            m_text.remove_suffix(1);
        return m_text;
    }

private:
    std::deque<std::u16string>& m_joined;
    std::u16string* m_buffer = nullptr;
    device::WideView m_text;
};

} // namespace

CXmlReader::CXmlReader(device::WideView text, CXmlNodeStore& store) : m_text(text), m_store(store) {}

CXmlReader::Outcome CXmlReader::Read(CXmlNode*& root)
{
    root = nullptr;
    FindTags();
    if (m_tags.empty())
        return Outcome::NoTags;
    MatchTags();
    CXmlNode* result = ReadLevel(0, m_tags.size(), nullptr, 0);
    if (m_tooDeep)
        return Outcome::TooDeep;
    root = result;
    return Outcome::Read;
}

void CXmlReader::FindTags()
{
    std::size_t open = m_text.find(u'<');
    while (open != device::WideView::npos) {
        const std::size_t close = m_text.find(u'>', open + 1);
        if (close == device::WideView::npos)
            break;
        m_tags.push_back(Tag{std::uint32_t(open), std::uint32_t(close)});
        open = m_text.find(u'<', close + 1);
    }
}

// An opening tag's partner is the first closing tag after it at its own level. Walking from the
// opening tag, a closing tag is at that level exactly when every tag opened since has been closed,
// which is what one stack over the whole document finds for every opening tag at once.
void CXmlReader::MatchTags()
{
    std::vector<std::uint32_t> open;
    for (std::size_t i = 0; i < m_tags.size(); ++i) {
        if (!IsClosing(i)) {
            open.push_back(std::uint32_t(i));
        } else if (!open.empty()) {
            m_tags[open.back()].partner = std::int32_t(i);
            open.pop_back();
        }
    }
}

device::WideView CXmlReader::TagText(std::size_t index) const
{
    const Tag& tag = m_tags[index];
    return m_text.substr(tag.open + 1, tag.close - tag.open - 1);
}

bool CXmlReader::IsClosing(std::size_t index) const
{
    const Tag& tag = m_tags[index];
    return tag.close > tag.open + 1 && m_text[tag.open + 1] == u'/';
}

bool CXmlReader::Closes(std::size_t closing, device::WideView name) const
{
    const device::WideView text = TagText(closing);
    return text.size() == name.size() + 1 && device::equalsNoCase(text.substr(1), name);
}

CXmlNode* CXmlReader::ReadLevel(std::size_t first, std::size_t end, CXmlNode* parent, int depth)
{
    CXmlNode* last = nullptr;
    std::size_t index = first;
    while (index < end) {
        if (IsClosing(index))
            return nullptr;
        // The name ends at the first space inside the tag; what follows it is dropped.
        device::WideView name = TagText(index);
        if (const std::size_t space = name.find(u' '); space != device::WideView::npos)
            name = name.substr(0, space);
        const std::int32_t partner = m_tags[index].partner;
        if (partner < 0 || std::size_t(partner) >= end || !Closes(std::size_t(partner), name))
            return nullptr;
        last = ReadElement(index, name, parent, depth);
        if (!last)
            return nullptr;
        index = std::size_t(partner) + 1;
    }
    return last;
}

CXmlNode* CXmlReader::ReadElement(std::size_t index, device::WideView name, CXmlNode* parent, int depth)
{
    if (depth >= MaxDepth) {
        m_tooDeep = true;
        return nullptr;
    }
    CXmlNode& node = m_store.nodes.emplace_back(name, parent);
    const std::size_t closing = std::size_t(m_tags[index].partner);
    ElementText text(m_store.joinedTexts);
    std::size_t gapStart = m_tags[index].close + 1;
    std::size_t child = index + 1;
    while (child < closing) {
        text.Add(m_text.substr(gapStart, m_tags[child].open - gapStart));
        // A child's name is its whole tag: one with more after the name cannot be closed. (Tags
        // between an element's own two are balanced, so a child always has a closing tag before
        // its parent's; the test of that only guards the reasoning.)
        const std::int32_t partner = m_tags[child].partner;
        if (IsClosing(child) || partner < 0 || std::size_t(partner) >= closing
            || !Closes(std::size_t(partner), TagText(child)))
            return nullptr;
        const std::size_t childClosing = std::size_t(partner);
        // The child is read as a level of its own, so its failure drops only the child.
        if (CXmlNode* element = ReadLevel(child, childClosing + 1, &node, depth + 1))
            node.AppendChild(element);
        if (m_tooDeep)
            return nullptr;
        gapStart = m_tags[childClosing].close + 1;
        child = childClosing + 1;
    }
    text.Add(m_text.substr(gapStart, m_tags[closing].open - gapStart));
    node.SetText(text.Finish());
    return &node;
}
