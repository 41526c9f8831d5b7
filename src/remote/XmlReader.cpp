#include "remote/XmlReader.h"

#include "platform/device/WideText.h"

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

CXmlReader::CXmlReader(device::WideView text) : m_text(text) {}

CXmlReader::Outcome CXmlReader::Read(std::unique_ptr<CXmlNode>& root)
{
    root.reset();
    FindTags();
    if (m_tags.empty())
        return Outcome::NoTags;
    MatchTags();
    std::unique_ptr<CXmlNode> result = ReadLevel(0, m_tags.size(), nullptr, 0);
    if (m_tooDeep)
        return Outcome::TooDeep;
    root = std::move(result);
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
    const device::WideView text = TagText(index);
    return !text.empty() && text.front() == u'/';
}

bool CXmlReader::Closes(std::size_t closing, device::WideView name) const
{
    const device::WideView text = TagText(closing);
    return text.size() == name.size() + 1 && device::equalsNoCase(text.substr(1), name);
}

std::unique_ptr<CXmlNode> CXmlReader::ReadLevel(std::size_t first, std::size_t end, CXmlNode* parent, int depth)
{
    std::unique_ptr<CXmlNode> last;
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
        bool failed = false;
        last = ReadElement(index, name, parent, depth, failed);
        if (failed)
            return nullptr;
        index = std::size_t(partner) + 1;
    }
    return last;
}

std::unique_ptr<CXmlNode> CXmlReader::ReadElement(std::size_t index, device::WideView name, CXmlNode* parent,
                                                  int depth, bool& failed)
{
    if (depth >= MaxDepth) {
        m_tooDeep = true;
        failed = true;
        return nullptr;
    }
    auto node = std::make_unique<CXmlNode>(makeString(name), parent);
    const std::size_t closing = std::size_t(m_tags[index].partner);
    std::u16string text;
    std::size_t gapStart = m_tags[index].close + 1;
    std::size_t child = index + 1;
    while (child < closing) {
        AppendText(text, gapStart, m_tags[child].open);
        // A child's name is its whole tag: one with more after the name cannot be closed. (Tags
        // between an element's own two are balanced, so a child always has a closing tag before
        // its parent's; the test of that only guards the reasoning.)
        const std::int32_t partner = m_tags[child].partner;
        if (IsClosing(child) || partner < 0 || std::size_t(partner) >= closing
            || !Closes(std::size_t(partner), TagText(child))) {
            failed = true;
            return nullptr;
        }
        const std::size_t childClosing = std::size_t(partner);
        // The child is read as a level of its own, so its failure drops only the child.
        if (auto element = ReadLevel(child, childClosing + 1, node.get(), depth + 1))
            node->AppendChild(std::move(element));
        if (m_tooDeep) {
            failed = true;
            return nullptr;
        }
        gapStart = m_tags[childClosing].close + 1;
        child = childClosing + 1;
    }
    AppendText(text, gapStart, m_tags[closing].open);
    while (!text.empty() && text.back() < 0x20)
        text.pop_back();
    node->SetText(makeString(text));
    return node;
}

// Appends the text between two tags, leaving out the blanks and control characters that would
// lead the element's text.
void CXmlReader::AppendText(std::u16string& text, std::size_t from, std::size_t to) const
{
    if (text.empty()) {
        while (from < to && m_text[from] <= 0x20)
            ++from;
    }
    text.append(m_text.substr(from, to - from));
}
