#pragma once
// CTavrelDocumentFormat: the Tavrel calendar document (CTavrelRemoteCalendar's format), named by
// an address that contains ".xml". Its bytes are read one to a character (CTavrelDocumentText),
// parsed by the tag reader and loaded; a document that does not parse is "Error parsing XML: %s",
// one that does not load (a missing month, a wrong checksum, a newer version) is the invalid
// format message, which names the product's web address.

#include "remote/TavrelCalendarFormat.h"

class CTavrelDocumentFormat : public CTavrelCalendarFormat {
public:
    static constexpr const char16_t* InvalidFormat
        = u"Invalid calendar format.  File must be Tavrel compliant.\nSee %s for more information.";

    bool NamesDocument(const CQoString& lowered) const override;
    std::unique_ptr<CTavrelRemoteCalendar> Read(const CQoString& address, std::span<const std::uint8_t> bytes,
                                                CQoString& message) const override;

    static CQoString InvalidFormatMessage();
    static CQoString ParseErrorMessage(const CQoString& errorText);
};
