#pragma once
// CXmlNode: one element of a tag document — its name as written, its own text, and its child
// elements in document order.
//
// Nodes belong to their document (CXmlDocument), which keeps them and the text they refer to for
// as long as it holds the tree: a node's name and text are views into that text, so reading a
// calendar of thousands of elements does not copy every name and text once more.
//
// Names are looked up without regard to letter case. A path is a dotted list of names
// ("Backgrounds.BG03"), each found among the children of the one before.

#include "common/QoString.h"
#include "platform/device/WideText.h"

#include <cstddef>

class CXmlNode {
public:
    CXmlNode(device::WideView name, CXmlNode* parent);
    virtual ~CXmlNode();
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;

    CQoString GetName() const;
    device::WideView GetNameView() const { return m_name; }
    CXmlNode* GetParent() const { return m_parent; }
    std::size_t GetChildCount() const { return m_childCount; }
    // The child at that position (counted from the first), or null.
    CXmlNode* GetChild(std::size_t index) const;

    // The first child (the cursor starts over), then each next one; null past the last.
    CXmlNode* GetFirstChild();
    CXmlNode* GetNextChild();

    // The first child with that name, ignoring case; null when there is none.
    CXmlNode* FindChild(const char16_t* name) const;
    CXmlNode* FindChild(device::WideView name) const;
    // The node at the end of the dotted path; null as soon as a name is missing.
    CXmlNode* FindPath(const char16_t* path) const;
    // This node's own text, or (with a path) that of the node at the path; empty when the path
    // leads nowhere.
    CQoString GetText(const char16_t* path = nullptr) const;
    device::WideView GetTextView() const { return m_text; }
    // The text of the child of that name; empty when there is none.
    device::WideView GetChildTextView(device::WideView name) const;

    // For the document's reader: the text must live as long as the node.
    void SetText(device::WideView text) { m_text = text; }
    void AppendChild(CXmlNode* child);

private:
    device::WideView m_name;
    device::WideView m_text;
    CXmlNode* m_parent;
    CXmlNode* m_firstChild = nullptr;
    CXmlNode* m_lastChild = nullptr;
    CXmlNode* m_nextSibling = nullptr;
    std::size_t m_childCount = 0;
    CXmlNode* m_cursor = nullptr;
};
