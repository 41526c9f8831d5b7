#pragma once
// CTavrelControlMessage: one message text of the control protocol, taken apart or put together.
//
// A message is a name, then optionally ":" and the arguments. Senders quote each argument (every
// double quote inside becomes "%22", and the value is enclosed in double quotes) and separate
// them with ";": ShowCalendar:"Projects";"Monthly";"3/4/2026".
//
// Reading the arguments after the first ":":
// - text without any double quote is one argument, exactly as it stands ("SetCurrentView:Daily");
// - otherwise the text is cut at each double quote: what lies inside a pair of quotes is an
//   argument, an empty one included, with "%22" turned back into a double quote; between quoted
//   values a lone ";" (or nothing) only separates, and any other text is an argument as it stands.
//   An unterminated quote runs to the end of the text.
// So an empty quoted value is an empty argument wherever it stands, first and last included.

#include "common/QoString.h"

#include <vector>

class CTavrelControlMessage {
public:
    CTavrelControlMessage() = default;
    explicit CTavrelControlMessage(const CQoString& text);

    // A message of that name with each argument quoted; the name alone when there is none.
    static CQoString Compose(const char16_t* name, const std::vector<CQoString>& arguments);

    const CQoString& GetText() const { return m_text; }
    // The text before the first ":", or the whole text.
    const CQoString& GetName() const { return m_name; }
    bool HasName(const char16_t* name) const { return m_name.CompareNoCase(name) == 0; }
    const std::vector<CQoString>& GetArguments() const { return m_arguments; }
    int GetArgumentCount() const { return int(m_arguments.size()); }
    // Empty text for an index without an argument.
    CQoString GetArgument(int index) const;

private:
    void SplitArguments(const CQoString& rest);

    CQoString m_text;
    CQoString m_name;
    std::vector<CQoString> m_arguments;
};
