#pragma once
// CXmlDocument: the tag reader of remote calendar documents and host directory documents.
//
// It is not a general XML parser: it knows elements and text only — no declarations, comments,
// processing instructions, entities, CDATA or attributes — and every element needs an explicit
// closing tag. CXmlReader says exactly what it accepts. Documents this program writes satisfy it.
//
// Parse fails only when the text holds no "<" followed later by a ">", or breaks a bound that keeps
// outside input harmless (MaxTextLength characters, CXmlReader::MaxDepth levels); then the error
// text says which. A text whose elements cannot be matched parses, with no root.

#include "remote/XmlNode.h"

#include <cstddef>
#include <memory>

struct CXmlNodeStore;

class CXmlDocument {
public:
    // The largest download, read one byte to a character.
    static constexpr std::size_t MaxTextLength = 16 * 1024 * 1024;

    CXmlDocument();
    virtual ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Builds the tree of `text` (up to its first zero character, as the device's strings end there).
    bool Parse(const CQoString& text);

    CXmlNode* GetRoot() const { return m_root; }
    CQoString GetErrorText() const { return m_errorText; }
    // The text last given to Parse.
    const CQoString& GetText() const { return m_text; }

private:
    CQoString m_errorText;
    CQoString m_text;
    // Every node, the root among them, and the texts they refer to besides m_text.
    std::unique_ptr<CXmlNodeStore> m_nodes;
    CXmlNode* m_root = nullptr;
};
