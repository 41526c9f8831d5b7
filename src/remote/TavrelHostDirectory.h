#pragma once
// CTavrelHostDirectory: what a host directory document ("…/Tavrel.xml") tells the attaching
// dialog to do. The root — or, when the root is named "XML", its child "Redirect" or else its
// child "Message" — decides:
//   no root                        the server is not answering properly
//   "Redirect"                     fetch the address that is its text instead
//   "Message"                      show its text to the user
//   no children                    the host is not answering properly
//   otherwise                      the calendars on offer: every child "LINK" whose "Name" and
//                                  "URL" are both non-empty, in document order
// Element names compare ignoring case.

#include "common/QoString.h"

#include <vector>

class CXmlDocument;

class CTavrelHostDirectory {
public:
    enum class Kind { NoRoot, Redirect, Message, Empty, Links };

    struct Link {
        CQoString name;
        CQoString address;
    };

    explicit CTavrelHostDirectory(const CXmlDocument& document);

    Kind GetKind() const { return m_kind; }
    // The redirect's address or the message's text.
    const CQoString& GetText() const { return m_text; }
    const std::vector<Link>& GetLinks() const { return m_links; }

private:
    Kind m_kind = Kind::NoRoot;
    CQoString m_text;
    std::vector<Link> m_links;
};
