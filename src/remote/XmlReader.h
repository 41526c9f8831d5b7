#pragma once
// CXmlReader: builds the element tree of a tag document.
//
// The format knows elements and text only. A tag is everything from a "<" to the next ">"; a tag
// that begins with "/" closes, any other opens. An element's closing tag is the first closing tag
// at its own level — the names of inner closing tags are not compared — and must be "/" and the
// element's name, ignoring case. An element's name is its tag up to the first space, so only the
// outermost element may carry attributes (dropped): a child's name is its whole tag, and a child
// tag with anything after the name, or an empty-element tag, cannot be closed and fails its
// parent with everything in it. A failing child of the outermost level fails the whole level; a
// failing grandchild only drops the child it sits in. At the outermost level the last element
// wins. An element's text is what lies between its children, with the leading blanks and control
// characters removed and the trailing control characters (not spaces).
//
// Every tag is found once and every closing tag matched once, in one pass each, so the cost
// grows with the length of the document. Nesting deeper than MaxDepth stops the whole reading.

#include "remote/XmlNode.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// The nodes of one document and the texts that are not plain pieces of it (an element's text
// split by children is joined here). Nothing moves while the store lives.
struct CXmlNodeStore {
    std::deque<CXmlNode> nodes;
    std::deque<std::u16string> joinedTexts;
};

class CXmlReader {
public:
    static constexpr int MaxDepth = 64;

    enum class Outcome { Read, NoTags, TooDeep };

    // `text` from its first "<" on; the nodes refer to it, so it must outlive them.
    CXmlReader(device::WideView text, CXmlNodeStore& store);

    // The root (null when the elements cannot be matched) and whether the text held tags at all.
    Outcome Read(CXmlNode*& root);

private:
    struct Tag {
        std::uint32_t open;        // index of "<"
        std::uint32_t close;       // index of the ">" that ends it
        std::int32_t partner = -1; // opening tags: the closing tag of their level, when there is one
    };

    void FindTags();
    void MatchTags();
    device::WideView TagText(std::size_t index) const;
    bool IsClosing(std::size_t index) const;
    bool Closes(std::size_t closing, device::WideView name) const;

    // The elements of tags [first, end) under `parent`: the last one, or null when one fails.
    CXmlNode* ReadLevel(std::size_t first, std::size_t end, CXmlNode* parent, int depth);
    // The element opened by tag `index`, whose closing tag has been checked; null when it fails.
    CXmlNode* ReadElement(std::size_t index, device::WideView name, CXmlNode* parent, int depth);

    device::WideView m_text;
    CXmlNodeStore& m_store;
    std::vector<Tag> m_tags;
    bool m_tooDeep = false;
};
