#pragma once
// CXmlNode: one element of a tag document — its name as written, its own text, and its child
// elements in document order. A node owns its children; the document owns the root.
//
// Names are looked up without regard to letter case. A path is a dotted list of names
// ("Backgrounds.BG03"), each found among the children of the one before.

#include "common/QoString.h"

#include <cstddef>
#include <memory>
#include <vector>

class CXmlNode {
public:
    CXmlNode(const CQoString& name, CXmlNode* parent);
    virtual ~CXmlNode();
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;

    const CQoString& GetName() const { return m_name; }
    CXmlNode* GetParent() const { return m_parent; }
    std::size_t GetChildCount() const { return m_children.size(); }
    CXmlNode* GetChild(std::size_t index) const;

    // The first child (the cursor starts over), then each next one; null past the last.
    CXmlNode* GetFirstChild();
    CXmlNode* GetNextChild();

    // The first child with that name, ignoring case; null when there is none.
    CXmlNode* FindChild(const char16_t* name) const;
    // The node at the end of the dotted path; null as soon as a name is missing.
    CXmlNode* FindPath(const char16_t* path) const;
    // This node's own text, or (with a path) that of the node at the path; empty when the path
    // leads nowhere.
    CQoString GetText(const char16_t* path = nullptr) const;

    // For the document's reader.
    void SetText(const CQoString& text) { m_text = text; }
    void AppendChild(std::unique_ptr<CXmlNode> child);

private:
    CXmlNode* FindChild(device::WideView name) const;

    CQoString m_name;
    CQoString m_text;
    CXmlNode* m_parent;
    std::vector<std::unique_ptr<CXmlNode>> m_children;
    std::size_t m_cursor = 0;
};
